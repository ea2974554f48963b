#include "campaign.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_sequence.h"
#include "progress.h"

namespace fuzz_host {

namespace {

constexpr DWORD kPollMs = 20;
// Starting Wine's process and loading the library comes before the first sequence.
constexpr DWORD kStartupMs = 60000;

void out(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

std::string hex(unsigned long long value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", value);
  return text;
}

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                      nullptr, nullptr);
  return result;
}

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

class ProcessHandles {
 public:
  ProcessHandles() = default;
  ~ProcessHandles() {
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
  }
  ProcessHandles(const ProcessHandles&) = delete;
  ProcessHandles& operator=(const ProcessHandles&) = delete;
  PROCESS_INFORMATION info{};
};

std::string address_text(unsigned long long address, const Progress& p) {
  std::string text = hex(address);
  if (address >= p.plugin_base && address < p.plugin_end) {
    text += " (Sabla.dll+" + hex(address - p.plugin_base) + ")";
  }
  return text;
}

void report_failure(const char* what, const Progress& p, uint64_t seed, uint64_t child_seed,
                    uint64_t child_count, DWORD exit_code, const CampaignOptions& options) {
  std::string text = std::string("fuzz_host: ") + what + " in sequence " + std::to_string(seed);
  text += p.step < 0 ? " while closing ('hide', 'clr ')" : ", step " + std::to_string(p.step);
  text += "\n";
  if (exit_code != 0) text += "  exit code " + hex(exit_code) + "\n";
  if (p.crashed) {
    text += "  exception " + hex(p.exception_code) + " at " + address_text(p.exception_address, p);
    if (p.exception_code == EXCEPTION_ACCESS_VIOLATION) {
      static const char* kinds[] = {"reading", "writing"};
      text += std::string(", ") + (p.access_kind == 8 ? "executing" : kinds[p.access_kind & 1]) +
              " " + hex(p.access_address);
    }
    text += p.thread_id == p.main_thread_id ? ", on the host's thread\n" : ", on a worker thread\n";
    text += "  stack words in the library:";
    for (int i = 0; i < kBacktraceDepth && p.backtrace[i]; ++i) {
      text += " +" + hex(p.backtrace[i] - p.plugin_base);
    }
    text += "\n";
  }
  text += describe(make_sequence(seed));
  text += "  replay alone:  fuzz_host --plugin " + utf8(options.plugin) + " --replay " +
          std::to_string(seed) + "\n";
  text += "  replay the child's run: fuzz_host --plugin " + utf8(options.plugin) +
          " --child --seed " + std::to_string(child_seed) + " --count " +
          std::to_string(child_count) + "\n";
  out(text);
}

}  // namespace

std::string summary_line(const CampaignResult& r) {
  char text[512];
  const double rate = r.seconds > 0 ? static_cast<double>(r.sequences) / r.seconds : 0;
  std::snprintf(text, sizeof text,
                "fuzz_host: %llu sequences, %llu crashes, %llu hangs; GDI objects %ld before, "
                "%ld to %ld after each sequence (at most +%ld in one child); %llu message boxes "
                "answered; %llu children; %.1f s, %.1f sequences/s\n",
                static_cast<unsigned long long>(r.sequences),
                static_cast<unsigned long long>(r.crashes),
                static_cast<unsigned long long>(r.hangs), r.gdi_baseline, r.gdi_min, r.gdi_max,
                r.gdi_growth_max, static_cast<unsigned long long>(r.dialogs_closed),
                static_cast<unsigned long long>(r.children), r.seconds, rate);
  return text;
}

namespace {

struct Range {
  uint64_t first = 0;  // index into the campaign
  uint64_t count = 0;
};

// One running child and what the parent knows of it.
struct Slot {
  std::unique_ptr<SharedProgress> shared;
  std::unique_ptr<ProcessHandles> child;
  Range range;
  LONG watched_sequence = -1;
  LONG watched_step = -2;
  LONG watched_completed = -1;
  DWORD since = 0;
};

bool start_child(const CampaignOptions& options, Range range, uint64_t number, Slot& slot,
                 CampaignResult& result) {
  const std::wstring name = L"Local\\SablaFuzzHost-" + std::to_wstring(GetCurrentProcessId()) +
                            L"-" + std::to_wstring(number);
  slot.shared = std::make_unique<SharedProgress>(name, true);
  if (!slot.shared->get()) {
    out("fuzz_host: cannot make the shared progress page\n");
    return false;
  }
  std::wstring command = quoted(options.self) + L" --child --plugin " + quoted(options.plugin) +
                         L" --seed " + std::to_wstring(options.seed + range.first) + L" --count " +
                         std::to_wstring(range.count) + L" --progress " + name;
  if (options.check_heap) command += L" --check-heap";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  slot.child = std::make_unique<ProcessHandles>();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &slot.child->info)) {
    out("fuzz_host: cannot start a child: error " + std::to_string(GetLastError()) + "\n");
    slot.child.reset();
    return false;
  }
  slot.range = range;
  slot.watched_sequence = -1;
  slot.watched_step = -2;
  slot.watched_completed = -1;
  slot.since = GetTickCount();
  ++result.children;
  return true;
}

// Takes in what an ended child did. Returns false when the child never got the plug-in going.
bool finish_child(const CampaignOptions& options, Slot& slot, bool hung,
                  std::deque<Range>& pending, CampaignResult& result) {
  const Progress& progress = *slot.shared->get();
  DWORD exit_code = 0;
  GetExitCodeProcess(slot.child->info.hProcess, &exit_code);
  const Range range = slot.range;
  slot.child.reset();
  if (!progress.ready) {
    out("fuzz_host: the child could not start the plug-in (exit code " + hex(exit_code) +
        (hung ? ", it hung" : "") + ")\n");
    return false;
  }
  const auto completed = static_cast<uint64_t>(progress.completed);
  result.sequences += completed;
  const long baseline = progress.gdi_baseline;
  if (result.gdi_baseline < 0) result.gdi_baseline = baseline;
  if (completed > 0) {
    const long low = progress.gdi_min;
    const long high = progress.gdi_max;
    if (result.gdi_min < 0 || low < result.gdi_min) result.gdi_min = low;
    result.gdi_max = std::max(result.gdi_max, high);
    result.gdi_growth_max = std::max(result.gdi_growth_max, high - baseline);
  }
  result.dialogs_closed += static_cast<uint64_t>(progress.dialogs_closed);
  if (!hung && exit_code == 0 && completed >= range.count) return true;

  // The sequence under way when the child stopped is the one to blame; it counts as run, and
  // the rest of the batch goes to another child.
  const uint64_t failed = std::min<uint64_t>(completed, range.count - 1);
  if (completed < range.count) ++result.sequences;
  const uint64_t seed = options.seed + range.first + failed;
  if (hung) {
    ++result.hangs;
    report_failure("hang", progress, seed, options.seed + range.first, failed + 1, 0, options);
  } else {
    ++result.crashes;
    report_failure("crash", progress, seed, options.seed + range.first, failed + 1, exit_code,
                   options);
  }
  if (failed + 1 < range.count) pending.push_back({range.first + failed + 1, range.count - failed - 1});
  return true;
}

}  // namespace

CampaignResult run_campaign(const CampaignOptions& options) {
  CampaignResult result;
  const DWORD started = GetTickCount();
  uint64_t next = 0;  // the first sequence no child has been given yet
  uint64_t next_report = options.report_every;
  std::deque<Range> pending;
  std::vector<Slot> slots(std::max<uint32_t>(1, options.jobs));
  bool stop = false;
  for (;;) {
    const bool failing = result.crashes + result.hangs >= options.max_failures;
    for (Slot& slot : slots) {
      if (slot.child || stop || failing) continue;
      Range range;
      if (!pending.empty()) {
        range = pending.front();
        pending.pop_front();
      } else if (next < options.count) {
        range = {next, std::min<uint64_t>(options.per_child, options.count - next)};
        next += range.count;
      } else {
        continue;
      }
      if (!start_child(options, range, result.children, slot, result)) stop = true;
    }
    std::vector<HANDLE> running;
    for (Slot& slot : slots) {
      if (slot.child) running.push_back(slot.child->info.hProcess);
    }
    if (running.empty()) break;
    WaitForMultipleObjects(static_cast<DWORD>(running.size()), running.data(), FALSE, kPollMs);

    for (Slot& slot : slots) {
      if (!slot.child) continue;
      const HANDLE process = slot.child->info.hProcess;
      bool hung = false;
      if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        // Watched until it ends; a step that does not end in time is a hang: the plug-in has
        // not returned to the host.
        const Progress& progress = *slot.shared->get();
        const LONG sequence = progress.sequence;
        const LONG step = progress.step;
        const LONG completed = progress.completed;
        if (sequence != slot.watched_sequence || step != slot.watched_step ||
            completed != slot.watched_completed) {
          slot.watched_sequence = sequence;
          slot.watched_step = step;
          slot.watched_completed = completed;
          slot.since = GetTickCount();
          continue;
        }
        const DWORD limit = progress.ready ? options.hang_ms : kStartupMs;
        if (GetTickCount() - slot.since <= limit) continue;
        hung = true;
        TerminateProcess(process, 0xDEAD);
        WaitForSingleObject(process, INFINITE);
      }
      if (!finish_child(options, slot, hung, pending, result)) {
        result.setup_failed = true;
        stop = true;
      }
      if (options.report_every && result.sequences >= next_report) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "fuzz_host: %llu of %llu sequences, %llu crashes, %llu hangs, %.0f s\n",
                      static_cast<unsigned long long>(result.sequences),
                      static_cast<unsigned long long>(options.count),
                      static_cast<unsigned long long>(result.crashes),
                      static_cast<unsigned long long>(result.hangs),
                      (GetTickCount() - started) / 1000.0);
        out(text);
        while (next_report <= result.sequences) next_report += options.report_every;
      }
    }
  }
  result.seconds = (GetTickCount() - started) / 1000.0;
  return result;
}

}  // namespace fuzz_host
