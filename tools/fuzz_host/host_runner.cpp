#include "host_runner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <malloc.h>

#include <objbase.h>
#include <vector>

#include "automation_server.h"
#include "gdi_count.h"
#include "guarded_memory.h"
#include "player_model.h"

namespace fuzz_host {

namespace {

constexpr wchar_t kWindowClass[] = L"SablaFuzzHostWindow";
constexpr UINT kDismissEveryMs = 150;

Progress* g_progress = nullptr;
ULONG_PTR g_plugin_base = 0;
ULONG_PTR g_plugin_end = 0;

// The plug-in may call into the host with any cookie a fuzzed "init" gave it.
int32_t __cdecl any_cookie_callback(void*, uint32_t, sabla::HostMessage*) { return 0; }

void CALLBACK dismiss_timer(HWND, UINT, UINT_PTR, DWORD) {
  const int answered = dismiss_message_boxes();
  if (g_progress && answered) InterlockedExchangeAdd(&g_progress->dialogs_closed, answered);
}

BOOL CALLBACK answer_box(HWND window, LPARAM count) {
  wchar_t name[16] = {};
  wchar_t title[32] = {};
  GetClassNameW(window, name, 16);
  GetWindowTextW(window, title, 32);
  // Only the plug-in's message boxes: its options window is a dialog too and stays open.
  if (std::wcscmp(name, L"#32770") != 0 ||
      (std::wcscmp(title, L"Sabla") != 0 && std::wcscmp(title, L"Sabla BETA") != 0)) {
    return TRUE;
  }
  const int answer = GetDlgItem(window, IDNO) ? IDNO : GetDlgItem(window, IDOK) ? IDOK : IDCANCEL;
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// The library's image range, from its own header.
void find_image_range(HMODULE module) {
  const auto base = reinterpret_cast<const uint8_t*>(module);
  const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  g_plugin_base = reinterpret_cast<ULONG_PTR>(module);
  g_plugin_end = g_plugin_base + nt->OptionalHeader.SizeOfImage;
}

bool in_plugin(ULONG_PTR address) { return address >= g_plugin_base && address < g_plugin_end; }

LONG WINAPI record_crash(EXCEPTION_POINTERS* info) {
  if (Progress* p = g_progress) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    p->exception_code = record->ExceptionCode;
    p->exception_address = reinterpret_cast<ULONG_PTR>(record->ExceptionAddress);
    if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record->NumberParameters >= 2) {
      p->access_kind = static_cast<ULONG>(record->ExceptionInformation[0]);
      p->access_address = record->ExceptionInformation[1];
    }
    p->thread_id = GetCurrentThreadId();
    p->plugin_base = g_plugin_base;
    p->plugin_end = g_plugin_end;
    // Without frame pointers the optimised code cannot be unwound by chain, so the stack is
    // scanned for words that point into the library's code: the likely return addresses.
#ifdef _WIN64
    auto* stack = reinterpret_cast<const ULONG_PTR*>(info->ContextRecord->Rsp);
#else
    auto* stack = reinterpret_cast<const ULONG_PTR*>(info->ContextRecord->Esp);
#endif
    MEMORY_BASIC_INFORMATION region{};
    int found = 0;
    if (VirtualQuery(stack, &region, sizeof region)) {
      const auto* end = reinterpret_cast<const ULONG_PTR*>(
          static_cast<const uint8_t*>(region.BaseAddress) + region.RegionSize);
      for (const ULONG_PTR* word = stack; word < end && found < kBacktraceDepth; ++word) {
        if (in_plugin(*word)) p->backtrace[found++] = *word;
      }
    }
    p->crashed = 1;
  }
  TerminateProcess(GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
  return DefWindowProcW(window, message, w, l);
}

}  // namespace

// The blocks of `heap` that fail validation, and free blocks whose fill (Wine's debug heap
// fills freed blocks with 0xFEEEFEEE) was written over, each with its bytes as hex and as UTF-16
// text: what a damaged block holds usually names its writer.
static void dump_bytes(const uint8_t* bytes, DWORD from, DWORD to) {
  for (DWORD at = from & ~15u; at < to; at += 16) {
    std::fprintf(stdout, "   %+6ld ", static_cast<long>(at));
    std::string text;
    for (DWORD k = 0; k < 16; k += 2) {
      std::fprintf(stdout, "%02X %02X ", bytes[at + k], bytes[at + k + 1]);
      const unsigned unit = bytes[at + k] | bytes[at + k + 1] << 8;
      text += unit >= 0x20 && unit < 0x7F ? static_cast<char>(unit) : '.';
    }
    std::fprintf(stdout, " %s\n", text.c_str());
  }
}

static void dump_block(const char* what, const PROCESS_HEAP_ENTRY& entry, DWORD from = 0) {
  std::fprintf(stdout, "  %s block %p, %lu bytes, from %lu:\n", what, entry.lpData,
               static_cast<unsigned long>(entry.cbData), static_cast<unsigned long>(from));
  const DWORD to = std::min<DWORD>(entry.cbData, from + 160);
  dump_bytes(static_cast<const uint8_t*>(entry.lpData), from, to);
}

// The first byte of a free block's body that is not Wine's free fill; the block's first words
// link it into the free lists and its last ones border the next block's header.
static DWORD first_written_over(const PROCESS_HEAP_ENTRY& entry) {
  const auto* bytes = static_cast<const uint8_t*>(entry.lpData);
  const DWORD end = entry.cbData > 32 ? std::min<DWORD>(entry.cbData - 16, 65536) : 0;
  for (DWORD at = 16; at < end; ++at) {
    if (bytes[at] != (at % 2 == 0 ? 0xEE : 0xFE)) return at;
  }
  return 0;
}

static void dump_damaged_blocks(HANDLE heap) {
  PROCESS_HEAP_ENTRY entry{};
  PROCESS_HEAP_ENTRY previous{};
  int shown = 0;
  while (shown < 4 && HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_REGION || entry.wFlags & PROCESS_HEAP_UNCOMMITTED_RANGE) {
      continue;
    }
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
      if (!HeapValidate(heap, 0, entry.lpData)) {
        dump_block("damaged", entry);
        ++shown;
      }
    } else if (const DWORD at = first_written_over(entry)) {
      // Either the block before ran over its end or freed memory was written.
      if (previous.lpData) dump_block("the block before", previous);
      dump_block("written-over free", entry, at >= 32 ? at - 32 : 0);
      ++shown;
    }
    previous = entry;
  }
  if (shown == 0) std::fprintf(stdout, "  no damaged block found by walking the heap\n");
}

// Which allocator a heap serves: the damage's victim narrows down its writer (the plug-in's own
// C++ objects live in the C runtime's heap; COM, WinINet and most system parts use the others).
static const char* heap_role(HANDLE heap) {
  if (heap == GetProcessHeap()) return "the process heap";
  if (heap == reinterpret_cast<HANDLE>(_get_heap_handle())) return "the C runtime's heap (msvcrt)";
  if (HMODULE ucrt = GetModuleHandleW(L"ucrtbase.dll")) {
    using GetHeap = intptr_t(__cdecl*)();
    const auto get = reinterpret_cast<GetHeap>(GetProcAddress(ucrt, "_get_heap_handle"));
    if (get && heap == reinterpret_cast<HANDLE>(get())) return "ucrtbase's heap";
  }
  return "a private heap";
}

int dismiss_message_boxes() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &answer_box, reinterpret_cast<LPARAM>(&count));
  return count;
}

void install_crash_recorder(Progress* progress, HMODULE plugin) {
  g_progress = progress;
  if (plugin) find_image_range(plugin);
  if (progress) {
    progress->plugin_base = g_plugin_base;
    progress->plugin_end = g_plugin_end;
    progress->main_thread_id = GetCurrentThreadId();
  }
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(&record_crash);
}

// The player's automation server for one sequence, with one track that plays.
struct FuzzHost::Player {
  standin::PlayerModel model;
  standin::PlayerAutomation automation;

  static std::vector<standin::PlaylistTrack> tracks() {
    standin::PlaylistTrack track;
    track.title = "Paper Lantern Road";
    track.artist = "Tsukimi";
    track.album = "Lanterns";
    track.length_ms = 184000;
    return {track};
  }
  Player()
      : model(tracks(), standin::steady_clock_ms),
        automation(model, {standin::TrackFiles{}}, 7, [](std::string_view) {}, false) {
    model.play();
  }
};

FuzzHost::FuzzHost(Progress* progress, Printer print, bool verbose, bool check_heap)
    : progress_(progress),
      print_(std::move(print)),
      verbose_(verbose),
      check_heap_(check_heap),
      session_([this](std::string_view text) {
        if (verbose_) print_(text);
      }) {}

FuzzHost::~FuzzHost() {
  player_.reset();
  if (dismiss_timer_) KillTimer(nullptr, dismiss_timer_);
  frame_.reset();
  if (SUCCEEDED(com_)) CoUninitialize();
}

bool FuzzHost::start(const std::wstring& plugin_path, std::string& error) {
  // The host's thread is a single-threaded apartment, as the player's automation needs.
  com_ = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &window_proc;
  wc.hInstance = instance;
  wc.lpszClassName = kWindowClass;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class_ = standin::RegisteredClass(wc);
  frame_.reset(CreateWindowExW(0, kWindowClass, L"Sabla fuzz host",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 820, 640, nullptr,
                               nullptr, instance, nullptr));
  if (!frame_) {
    error = "cannot create the host's window";
    return false;
  }
  view_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 800, 600,
                          frame_.get(), nullptr, instance, nullptr);
  ShowWindow(frame_.get(), SW_SHOWNOACTIVATE);
  destroyed_ = CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               instance, nullptr);
  DestroyWindow(destroyed_);
  brush_.reset(CreateSolidBrush(RGB(1, 2, 3)));
  dismiss_timer_ = SetTimer(nullptr, 0, kDismissEveryMs, &dismiss_timer);

  standin::PluginLoad load = standin::load_plugin(plugin_path);
  if (!load.ok()) {
    error = load.message;
    return false;
  }
  plugin_ = std::move(load.plugin);
  // A replay leaves a crash to Wine, whose report names the frames.
  if (progress_) install_crash_recorder(progress_, plugin_.module.get());
  session_.send_init(plugin_.entry);
  if (session_.registrations().empty() || !session_.registrations().front().fields.handler) {
    error = "the plug-in did not register a handler";
    return false;
  }
  handler_ = reinterpret_cast<sabla::VisualHandler>(
      static_cast<uintptr_t>(session_.registrations().front().fields.handler));
  pump();
  if (progress_) {
    progress_->gdi_baseline = gdi_objects();
    progress_->ready = 1;
  }
  return true;
}

int FuzzHost::gdi_objects() const { return standin::live_gdi_objects(); }

void* FuzzHost::window_for(const Step& step) const {
  switch (step.window) {
    case WindowChoice::kView: return view_;
    case WindowChoice::kFrame: return frame_.get();
    case WindowChoice::kNull: return nullptr;
    case WindowChoice::kRandom:
      return reinterpret_cast<void*>(static_cast<uintptr_t>(step.random_window));
    case WindowChoice::kDestroyed: return destroyed_;
    case WindowChoice::kNotAWindow: return brush_.get();
    case WindowChoice::kDesktop: return GetDesktopWindow();
  }
  return nullptr;
}

int32_t FuzzHost::send(const Step& step) {
  Addresses addresses;
  addresses.window = window_for(step);
  switch (step.callback) {
    case CallbackChoice::kNull: break;
    case CallbackChoice::kSession:
      addresses.cookie = &session_;
      addresses.callback = reinterpret_cast<sabla::HostCallback>(&standin::HostSession::host_callback);
      break;
    case CallbackChoice::kAnyCookie:
      addresses.cookie = reinterpret_cast<void*>(static_cast<uintptr_t>(step.cookie));
      addresses.callback = &any_cookie_callback;
      break;
  }
  // The records a message points to end at unreadable memory too.
  GuardedBlock track(sizeof(sabla::TrackRecord));
  GuardedBlock stream(sizeof(sabla::StreamRecord));
  GuardedBlock render(sizeof(sabla::RenderData));
  if (step.track != PointedRecord::kNull) {
    sabla::TrackRecord record;
    fill_track(step.track, step.fill_seed + 1, record);
    track.assign(&record, sizeof record);
    addresses.track = track.data();
  }
  if (step.stream != PointedRecord::kNull) {
    sabla::StreamRecord record;
    fill_stream(step.stream, step.fill_seed + 2, record);
    stream.assign(&record, sizeof record);
    addresses.stream = stream.data();
  }
  if (step.render != PointedRecord::kNull) {
    sabla::RenderData record;
    fill_render(step.render, step.fill_seed + 3, record);
    render.assign(&record, sizeof record);
    addresses.render = render.data();
  }

  const bool entry = step.kind == StepKind::kEntry;
  const std::vector<uint8_t> bytes = entry ? entry_bytes(step, addresses)
                                           : message_bytes(step, addresses);
  GuardedBlock block(bytes.size());
  block.assign(bytes.data(), bytes.size());
  void* record = step.shape == RecordShape::kNull ? nullptr : block.data();

  if (entry) return plugin_.entry(step.code, record);

  void* instance = instance_;
  if (step.instance == InstanceChoice::kNull) instance = nullptr;
  if (step.instance == InstanceChoice::kRandom) {
    instance = reinterpret_cast<void*>(static_cast<uintptr_t>(step.random_instance));
  }
  const int32_t status = handler_(step.code, record, instance);
  if (step.code == sabla::kMessageInit && status == sabla::kStatusOk && record) {
    std::memcpy(&instance_, block.data() + offsetof(sabla::VisualInitMessage, instance),
                sizeof instance_);
  }
  return status;
}

void FuzzHost::play_step(const Step& step, size_t index) {
  if (progress_) progress_->step = static_cast<LONG>(index);
  if (verbose_) print_("  " + std::to_string(index) + ": " + describe(step));
  switch (step.kind) {
    case StepKind::kPump:
      pump();
      break;
    case StepKind::kWait:
      wait(step.wait_ms);
      break;
    case StepKind::kHandler:
    case StepKind::kEntry: {
      const DWORD before = GetTickCount();
      const int32_t status = send(step);
      if (verbose_) {
        print_(" -> " + std::to_string(status) + " (" + std::to_string(GetTickCount() - before) +
               " ms)");
      }
      pump();
      break;
    }
  }
  if (verbose_) print_("\n");
  if (check_heap_) check_heaps(index);
}

// Wine's HeapValidate reads the small-block pages that other threads take and give back
// without the heap's lock, and now and then reports a block that is being handed out as damaged
// (a program whose threads only allocate and free sees it in one check of 80 to 170). A damage
// that is real is still there a moment later.
static bool heap_stays_damaged(HANDLE heap) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (HeapValidate(heap, 0, nullptr)) return false;
    Sleep(20);
  }
  return true;
}

void FuzzHost::check_heaps(size_t step_index) {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!heap_stays_damaged(heaps[i])) continue;
    // Reported as a crash of this step: the parent names the sequence and prints the replay.
    // What the damaged block holds usually names its writer.
    std::fprintf(stdout, "fuzz_host: heap %p (%s) damaged after step %u\n", heaps[i],
                 heap_role(heaps[i]), static_cast<unsigned>(step_index));
    dump_damaged_blocks(heaps[i]);
    std::fflush(stdout);
    if (progress_) {
      progress_->exception_code = STATUS_HEAP_CORRUPTION;
      progress_->thread_id = GetCurrentThreadId();
      progress_->crashed = 1;
    }
    TerminateProcess(GetCurrentProcess(), STATUS_HEAP_CORRUPTION);
  }
}

void FuzzHost::close_visualizer() {
  if (progress_) progress_->step = -1;
  Step hide;
  hide.code = sabla::kMessageHide;
  Step clear;
  clear.code = sabla::kMessageClear;
  const DWORD before = GetTickCount();
  const int32_t hidden = send(hide);
  pump();
  const int32_t cleared = send(clear);
  pump();
  if (verbose_) {
    print_("  closing: 'hide' -> " + std::to_string(hidden) + ", 'clr ' -> " +
           std::to_string(cleared) + " (" + std::to_string(GetTickCount() - before) + " ms)\n");
  }
}

void FuzzHost::run(const Sequence& sequence) {
  if (verbose_) {
    print_("sequence " + std::to_string(sequence.seed) +
           (sequence.player ? " (player present)\n" : " (no player)\n"));
  }
  if (sequence.player) {
    player_ = std::make_unique<Player>();
    const HRESULT registered = player_->automation.register_class();
    if (verbose_ && FAILED(registered)) print_("  the player's class is not served\n");
  }
  for (size_t i = 0; i < sequence.steps.size(); ++i) play_step(sequence.steps[i], i);
  close_visualizer();
  player_.reset();
  pump();
  if (check_heap_) check_heaps(sequence.steps.size());
  if (progress_) {
    const LONG count = gdi_objects();
    progress_->gdi_last = count;
    if (progress_->completed == 0 || count < progress_->gdi_min) progress_->gdi_min = count;
    if (progress_->completed == 0 || count > progress_->gdi_max) progress_->gdi_max = count;
  }
  if (verbose_) {
    const DWORD before = GetTickCount();
    const int count = gdi_objects();
    print_("  GDI objects after: " + std::to_string(count) + " (counted in " +
           std::to_string(GetTickCount() - before) + " ms)\n");
  }
}

void FuzzHost::pump() {
  MSG message;
  // Bounded, so a window that posts to itself forever cannot keep the host here.
  for (int i = 0; i < 2000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void FuzzHost::wait(uint32_t ms) {
  const DWORD until = GetTickCount() + ms;
  for (;;) {
    const DWORD now = GetTickCount();
    if (static_cast<int32_t>(until - now) <= 0) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, until - now, QS_ALLINPUT);
    pump();
  }
}

}  // namespace fuzz_host
