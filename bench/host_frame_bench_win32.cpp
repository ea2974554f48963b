// What the host pays for the visualizer, measured the way a host calls it: the built Sabla.dll
// loaded with LoadLibrary, "init" through its entry and its handler, "show" with a real window,
// the stand-in's automation server registered in this process (so the plug-in's position
// question crosses COM as it does with the player), a track playing with 40 timed lyric lines
// and artwork, render data before the idle calls. Figures:
//   - an idle call that draws a frame (the previous frame is more than 33 ms old), 1920 x 1080
//     and 640 x 480, against one plain blit of the whole window from a memory bitmap;
//   - an idle call that draws no frame, against one position request through the automation
//     object (the clock's question to the player).
// Usage: host_frame_bench.exe <path of Sabla.dll> [<folder for a picture of each window>]
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "automation_server.h"
#include "bench_harness.h"
#include "host_session.h"
#include "player/itunes_ids_win32.h"
#include "player_model.h"
#include "playlist.h"
#include "plugin_library.h"
#include "render_synth.h"
#include "track_records.h"
#include "visual_host.h"

namespace {

constexpr wchar_t kWindowClass[] = L"SablaHostFrameBench";
constexpr int kFrameRuns = 60;
constexpr int kShownFrameRuns = 30;
constexpr int kIdleBatches = 30;
constexpr int kIdlePerBatch = 10;
constexpr DWORD kFrameGapMs = 40;  // past the plug-in's 33 ms between frames

std::string utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  return out;
}

bool write_file(const std::wstring& path, const void* data, size_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
  return ok && written == size;
}

// Forty timed lines, mixed Japanese and Latin, four seconds apart, as a UTF-16 file with BOM.
bool write_lyrics(const std::wstring& path) {
  std::wstring text = L"\uFEFF";
  for (int i = 0; i < 40; ++i) {
    const int ms = 2000 + i * 4000;
    wchar_t tag[32];
    swprintf(tag, 32, L"[%02d:%02d:%02d]", ms / 60000, ms / 1000 % 60, ms / 10 % 100);
    text += tag;
    text += L"\u6B4C\u8A5E\u306E\u884C line " + std::to_wstring(i + 1) +
            L" of the song, sung slowly\r\n";
  }
  return write_file(path, text.data(), text.size() * sizeof(wchar_t));
}

// A 300 x 300 picture with a gradient, as a 24-bit BMP file.
bool write_artwork(const std::wstring& path) {
  constexpr int side = 300;
  constexpr int row = side * 3;  // already a multiple of 4
  std::vector<uint8_t> file(54 + row * side, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, side);
  put32(22, side);
  file[26] = 1;
  file[28] = 24;
  put32(34, row * side);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      uint8_t* p = &file[54 + y * row + x * 3];
      p[0] = static_cast<uint8_t>(x * 255 / side);
      p[1] = static_cast<uint8_t>(y * 255 / side);
      p[2] = static_cast<uint8_t>(128 + (x ^ y) % 64);
    }
  }
  return write_file(path, file.data(), file.size());
}

void pump() {
  MSG message;
  for (int i = 0; i < 2000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

HWND make_window(int width, int height) {
  // The client area is the size asked for: a popup has no frame.
  return CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"visualizer",
                         WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Under Wine a blit to a window lands in the window's surface; the pixels go to the X server
// only when the thread next looks at its queue with nothing in it (GdiFlush does not do it). A
// zero wait on the queue is that look, and costs next to nothing on Windows.
void flush_window_surface() { MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0); }

// The cheapest way to put a whole window's worth of pixels on it: one BitBlt from a memory DC
// holding a DIB section of the window's size; with `to_screen`, until they reach the screen.
bench::Samples plain_blit(HWND window, int width, int height, bool to_screen = false) {
  HDC window_dc = GetDC(window);
  HDC memory = CreateCompatibleDC(window_dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  PatBlt(memory, 0, 0, width, height, WHITENESS);
  bench::Samples samples = bench::time_runs(kFrameRuns, 5, [&] {
    BitBlt(window_dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    GdiFlush();
    if (to_screen) flush_window_surface();
  });
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, window_dc);
  return samples;
}

// The window system's answers an idle call needs whatever the plug-in does with them: the busy
// test's four window searches (one per modal class of the player), the window's place, the
// cursor, the active window and its owner, the keyboard. Under Wine most of them cross to the
// server, and the cursor to the X server too; on Windows each is a read of shared memory.
bench::Samples idle_queries(HWND window, bool cursor_only) {
  static const wchar_t* const kBusyClasses[] = {L"iTunesCustomModalDialog",
                                                L"iTunesCustomFauxModalDialog", L"#32770",
                                                L"NativeHWNDHost"};
  BYTE keys[256];
  return bench::time_runs(300, 20, [&] {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (cursor_only) return;
    for (const wchar_t* name : kBusyClasses) FindWindowExW(nullptr, nullptr, name, nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    ScreenToClient(window, &cursor);
    GetActiveWindow();
    GetWindow(window, GW_OWNER);
    GetKeyboardState(keys);
  });
}

// Idle calls while the mouse moves over the window, as when the user goes for a line to click:
// between two calls the mouse reports a few small moves, which the plug-in's wheel device
// buffers along with the wheel's and must read through. A call is 2 ms after the last, so about
// one in twelve is due a frame: the median is a call without one.
bench::Samples idle_while_mouse_moves(standin::VisualHost& host) {
  bench::Samples samples;
  for (int i = 0; i < kIdleBatches * kIdlePerBatch; ++i) {
    INPUT moves[4] = {};
    for (int k = 0; k < 4; ++k) {
      moves[k].type = INPUT_MOUSE;
      moves[k].mi.dx = (k % 2 == 0) ? 2 : -2;
      moves[k].mi.dy = (k % 2 == 0) ? 1 : -1;
      moves[k].mi.dwFlags = MOUSEEVENTF_MOVE;
    }
    SendInput(4, moves, sizeof(INPUT));
    Sleep(2);  // the moves reach the device on the input thread, not on this one
    pump();
    const double start = bench::now_us();
    host.idle();
    samples.add(bench::now_us() - start);
  }
  return samples;
}

// One "PlayerPosition" question through the automation object, as the plug-in's clock asks it.
bool position_request(bench::Samples& out) {
  IDispatch* app = nullptr;
  if (FAILED(CoCreateInstance(sabla::CLSID_iTunesApp, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&app)))) {
    return false;
  }
  LPOLESTR name = const_cast<LPOLESTR>(L"PlayerPosition");
  DISPID id = 0;
  bool ok = SUCCEEDED(app->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
  if (ok) {
    DISPPARAMS none{};
    out = bench::time_runs(400, 20, [&] {
      VARIANT result;
      VariantInit(&result);
      if (FAILED(app->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                             &result, nullptr, nullptr))) {
        ok = false;
      }
      VariantClear(&result);
    });
  }
  app->Release();
  return ok;
}

// The window's pixels after the timed frames, as a 24-bit BMP, so a reader can see that the frames
// measured held the lyrics, the artwork and the dots.
void save_window(HWND window, int width, int height, const std::wstring& path) {
  HDC window_dc = GetDC(window);
  HDC memory = CreateCompatibleDC(window_dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, window_dc, 0, 0, SRCCOPY);
  GdiFlush();
  const uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof header + sizeof info.bmiHeader;
  header.bfSize = header.bfOffBits + row * height;
  std::vector<uint8_t> file(header.bfSize);
  std::memcpy(file.data(), &header, sizeof header);
  std::memcpy(file.data() + sizeof header, &info.bmiHeader, sizeof info.bmiHeader);
  std::memcpy(file.data() + header.bfOffBits, bits, row * height);
  write_file(path, file.data(), file.size());
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, window_dc);
}

struct Scene {
  std::wstring song;
  std::wstring artwork;
};

bool make_scene(Scene& scene) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"sabla_frame_bench";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring base = folder + L"\\Bench Artist - Bench Song";
  scene.song = base + L".mp3";
  scene.artwork = folder + L"\\artwork.bmp";
  const char song_bytes[] = "ID3";
  return write_file(scene.song, song_bytes, 3) && write_lyrics(base + L".lrc") &&
         write_artwork(scene.artwork);
}

// With SABLA_BENCH_PROFILE_FRAMES=<n>, n more frames of each size after the figures, for a
// sampling profiler outside the process (scripts/profile-frames.sh): the thread sleeps between
// them, so what it runs on the processor is mostly the idle calls that draw. The plug-in's base
// address is printed so that the profiler's raw addresses can be named from the build.
template <typename Render>
void frames_for_profiler(standin::VisualHost& host, Render& render, int width, int height) {
  wchar_t count[16] = {};
  if (!GetEnvironmentVariableW(L"SABLA_BENCH_PROFILE_FRAMES", count, 16)) return;
  std::printf("profile %dx%d: Sabla.dll at %p\n", width, height,
              static_cast<void*>(GetModuleHandleW(L"Sabla.dll")));
  std::fflush(stdout);
  for (int i = 0, n = _wtoi(count); i < n; ++i) {
    Sleep(kFrameGapMs);
    render();
    pump();
    host.idle();
    pump();
  }
}

// The frames and the idle calls in between for one window size.
bool measure_size(standin::VisualHost& host, standin::PlayerModel& model,
                  const standin::PlaylistTrack& track, const std::string& location, int width,
                  int height, const bench::Samples* position, bool idle_figure,
                  const std::wstring& picture) {
  HWND window = make_window(width, height);
  if (!window) {
    std::printf("cannot create a %d x %d window\n", width, height);
    return false;
  }
  pump();
  RECT client{};
  GetClientRect(window, &client);
  const sabla::DrawingRect rect{0, 0, static_cast<int16_t>(client.bottom),
                                static_cast<int16_t>(client.right)};
  if (host.show(window, rect) != 0) {
    std::printf("'show' failed at %d x %d\n", width, height);
    return false;
  }
  sabla::TrackRecord record{};
  sabla::StreamRecord stream{};
  standin::build_track_record(track, location, record);
  standin::build_stream_record(track, location, stream);
  host.play(&record, &stream);

  const standin::RenderTones tones = standin::tones_for(track);
  sabla::RenderData data{};
  auto render = [&] {
    const uint32_t position_ms = static_cast<uint32_t>(model.position_ms());
    standin::synthesise_render_data(tones, position_ms, 2, 2, data);
    host.render(&data, static_cast<uint32_t>(GetTickCount()));
  };
  // The song change, the lyrics and the artwork settle at the host's idle pace first.
  for (int i = 0; i < 150; ++i) {
    render();
    host.idle();
    pump();
    Sleep(10);
  }

  // The pointer over the visualizer, as a user watching it has it: the wheel is then read on
  // every idle call. (Under Wine that read also looks at the thread's queue, which sends the
  // frame's pixels to the X server inside the call; see the row with the pointer elsewhere.)
  SetCursorPos(width / 2, height / 2);
  bench::Samples frames;
  bench::Samples quiet;
  for (int i = 0; i < kFrameRuns; ++i) {
    Sleep(kFrameGapMs);
    render();
    pump();
    double start = bench::now_us();
    host.idle();
    frames.add(bench::now_us() - start);
    pump();
    if (idle_figure && i < kIdleBatches) {
      for (int j = 0; j < kIdlePerBatch; ++j) {
        start = bench::now_us();
        host.idle();
        quiet.add(bench::now_us() - start);
      }
      pump();
    }
  }
  // The same frames with the copy to the screen inside the figure: how much of the frame is the
  // pixels' way out of the process, which the figure above counts only where some call inside
  // the handler happens to look at the queue.
  // One frame after the plug-in's frame gap, timed from the idle call to `after` returning.
  auto timed_frames = [&](int runs, auto after) {
    bench::Samples samples;
    for (int i = 0; i < runs; ++i) {
      Sleep(kFrameGapMs);
      render();
      pump();
      const double start = bench::now_us();
      host.idle();
      after();
      samples.add(bench::now_us() - start);
      pump();
    }
    return samples;
  };
  const bench::Samples shown_frames = timed_frames(kShownFrameRuns, flush_window_surface);
  // The same frames with the pointer off the window, where the wheel is not read.
  bench::Samples frames_pointer_away;
  const POINT away{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};
  if (away.x >= width || away.y >= height) {
    SetCursorPos(away.x, away.y);
    frames_pointer_away = timed_frames(kFrameRuns, [] {});
    SetCursorPos(width / 2, height / 2);
  }
  if (!picture.empty()) save_window(window, client.right, client.bottom, picture);
  frames_for_profiler(host, render, width, height);
  const bench::Samples blit = plain_blit(window, client.right, client.bottom);
  const bench::Samples shown_blit = plain_blit(window, client.right, client.bottom, true);
  const std::string size = std::to_string(client.right) + "x" + std::to_string(client.bottom);

  bench::Goal frame_goal;
  if (width >= 1920) {
    frame_goal.max_us = 2000;
    frame_goal.max_ratio = 3;
    frame_goal.text = "<= 2 ms and <= 3x blit";
  } else {
    frame_goal.max_us = 500;
    frame_goal.text = "<= 0.5 ms";
  }
  bench::report("idle call drawing a frame " + size + " (dots, 40 lines, artwork, meters)",
                frames, "plain blit " + size, &blit, frame_goal);
  bench::report_plain("idle call drawing a frame " + size + ", until it is on the screen",
                      shown_frames);
  if (frames_pointer_away.count() > 0) {
    bench::report_plain("idle call drawing a frame " + size + ", pointer off the window (no wheel read)",
                        frames_pointer_away);
  }
  bench::report_plain("plain blit " + size + ", until it is on the screen", shown_blit);
  if (idle_figure) {
    bench::Goal idle_goal;
    idle_goal.max_extra_us = 50;
    idle_goal.text = "<= 50 us beyond 1 position request";
    bench::report("idle call without a frame, automation server in process", quiet,
                  "1 position request (COM)", position, idle_goal);
    const bench::Samples queries = idle_queries(window, false);
    bench::report("idle call without a frame, against its window-system questions alone", quiet,
                  "busy test, cursor, keyboard, active window", &queries, bench::Goal{});
    bench::report_plain("of those questions, the cursor position alone",
                        idle_queries(window, true));
    bench::report_plain(
        "idle call, mouse moving over the window (4 moves between calls; 1 in ~12 draws a frame)",
        idle_while_mouse_moves(host));
  }
  host.hide();
  pump();
  DestroyWindow(window);
  pump();
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: host_frame_bench <Sabla.dll>\n");
    return 2;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kWindowClass;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  RegisterClassW(&wc);

  Scene scene;
  if (!make_scene(scene)) {
    std::printf("cannot write the song, lyrics and artwork files\n");
    return 1;
  }
  std::printf("screen %d x %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));

  standin::PlaylistTrack track;
  track.title = "Bench Song";
  track.artist = "Bench Artist";
  track.album = "Bench Album";
  track.length_ms = 240000;
  track.track_number = 3;
  track.track_count = 12;
  track.year = 2008;
  track.rating = 80;
  const std::string location = utf8(scene.song);
  track.location = location;
  standin::PlayerModel model({track}, standin::steady_clock_ms);
  standin::PlayerAutomation automation(model, {standin::TrackFiles{scene.song, scene.artwork}}, 7,
                                       [](std::string_view) {}, false);
  if (FAILED(automation.register_class())) {
    std::printf("the automation server could not be registered\n");
    return 1;
  }
  model.play();

  bench::Samples position;
  if (!position_request(position)) {
    std::printf("the position request through the automation object failed\n");
    return 1;
  }

  standin::PluginLoad load = standin::load_plugin(argv[1]);
  if (!load.ok()) {
    std::printf("cannot load the plug-in: %s\n", load.message.c_str());
    return 1;
  }
  standin::HostSession session([](std::string_view) {});
  session.send_init(load.plugin.entry);
  if (session.registrations().empty() || !session.registrations().front().fields.handler) {
    std::printf("the plug-in did not register a handler\n");
    return 1;
  }
  const auto handler = reinterpret_cast<sabla::VisualHandler>(
      static_cast<uintptr_t>(session.registrations().front().fields.handler));
  standin::VisualHost host(handler, [](std::string_view text) {
    // Only what went wrong reaches the output; the idle traffic is counted, not listed.
    if (text.find("fail") != std::string_view::npos) std::printf("%.*s", int(text.size()), text.data());
  });
  if (host.init(7, &session,
                reinterpret_cast<sabla::HostCallback>(&standin::HostSession::host_callback)) != 0) {
    std::printf("'init' failed\n");
    return 1;
  }
  const std::wstring pictures = argc > 2 ? std::wstring(argv[2]) + L"\\" : L"";
  bool ok = measure_size(host, model, track, location, 1920, 1080, &position, true,
                         argc > 2 ? pictures + L"frame-1920x1080.bmp" : L"");
  ok = measure_size(host, model, track, location, 640, 480, &position, false,
                    argc > 2 ? pictures + L"frame-640x480.bmp" : L"") &&
       ok;
  host.clear();
  pump();
  CoUninitialize();
  return ok ? 0 : 1;
}
