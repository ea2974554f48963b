// fuzz_host: sends the plug-in random sequences of host messages and counts crashes and hangs.
//
//   fuzz_host --plugin Sabla.dll [--count N] [--seed S] [--per-child K] [--hang-ms T] [--jobs J]
//       a campaign: N sequences (seeds S to S + N - 1) in child processes; exit code 0 when
//       nothing crashed or hung, 1 otherwise, 2 for bad arguments or a plug-in that cannot start;
//       J children at once share this Wine server and with it the player's class, so one child's
//       player may serve another's plug-in (make fuzz-host runs separate campaigns instead)
//   fuzz_host --plugin Sabla.dll --replay S [--count K]
//       plays sequence S (to S + K - 1) here, printing every step
//   --check-heap (with any of the above) validates every heap after each step
//   fuzz_host --print S                         prints sequence S without playing it
//   fuzz_host --plugin Sabla.dll --child --seed S --count K [--progress NAME]
//       one child's run (what the campaign starts)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <string_view>

#include "campaign.h"
#include "fuzz_sequence.h"
#include "host_runner.h"
#include "progress.h"

namespace {

using namespace fuzz_host;

struct Arguments {
  std::wstring plugin = L"Sabla.dll";
  bool child = false;
  bool replay = false;
  bool print = false;
  bool count_given = false;
  std::wstring progress;
  CampaignOptions campaign;
};

void out(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

bool number(const wchar_t* text, uint64_t& value) {
  wchar_t* end = nullptr;
  value = std::wcstoull(text, &end, 10);
  return end && end != text && *end == L'\0';
}

bool parse(int argc, wchar_t** argv, Arguments& a) {
  a.campaign.self = argv[0];
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    uint64_t value = 0;
    if (arg == L"--child") {
      a.child = true;
    } else if (arg == L"--check-heap") {
      a.campaign.check_heap = true;
    } else if (arg == L"--plugin" && has_value) {
      a.plugin = argv[++i];
    } else if (arg == L"--progress" && has_value) {
      a.progress = argv[++i];
    } else if ((arg == L"--replay" || arg == L"--print") && has_value && number(argv[++i], value)) {
      (arg == L"--replay" ? a.replay : a.print) = true;
      a.campaign.seed = value;
    } else if (arg == L"--seed" && has_value && number(argv[++i], value)) {
      a.campaign.seed = value;
    } else if (arg == L"--count" && has_value && number(argv[++i], value)) {
      a.campaign.count = value;
      a.count_given = true;
    } else if (arg == L"--per-child" && has_value && number(argv[++i], value) && value > 0) {
      a.campaign.per_child = static_cast<uint32_t>(value);
    } else if (arg == L"--hang-ms" && has_value && number(argv[++i], value) && value > 0) {
      a.campaign.hang_ms = static_cast<uint32_t>(value);
    } else if (arg == L"--max-failures" && has_value && number(argv[++i], value) && value > 0) {
      a.campaign.max_failures = static_cast<uint32_t>(value);
    } else if (arg == L"--jobs" && has_value && number(argv[++i], value) && value > 0) {
      a.campaign.jobs = static_cast<uint32_t>(value);
    } else if (arg == L"--report-every" && has_value && number(argv[++i], value)) {
      a.campaign.report_every = static_cast<uint32_t>(value);
    } else {
      return false;
    }
  }
  return true;
}

int run_child(const Arguments& a) {
  std::unique_ptr<SharedProgress> shared;
  if (!a.progress.empty()) {
    shared = std::make_unique<SharedProgress>(a.progress, false);
    if (!shared->get()) return 2;
  }
  Progress* progress = shared ? shared->get() : nullptr;
  FuzzHost host(progress, out, false, a.campaign.check_heap);
  std::string error;
  if (!host.start(a.plugin, error)) {
    std::fprintf(stderr, "fuzz_host: %s\n", error.c_str());
    return 3;
  }
  for (uint64_t i = 0; i < a.campaign.count; ++i) {
    if (progress) progress->sequence = static_cast<LONG>(i);
    host.run(make_sequence(a.campaign.seed + i));
    if (progress) progress->completed = static_cast<LONG>(i + 1);
  }
  return 0;
}

int run_replay(const Arguments& a) {
  FuzzHost host(nullptr, out, true, a.campaign.check_heap);
  std::string error;
  if (!host.start(a.plugin, error)) {
    std::fprintf(stderr, "fuzz_host: %s\n", error.c_str());
    return 3;
  }
  // The crash recorder has no page to write to here; a crash shows as Wine's own report.
  out("GDI objects before: " + std::to_string(host.gdi_objects()) + "\n");
  const uint64_t count = a.count_given ? a.campaign.count : 1;
  for (uint64_t i = 0; i < count; ++i) host.run(make_sequence(a.campaign.seed + i));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Arguments a;
  if (!parse(argc, argv, a)) {
    std::fputs("usage: fuzz_host --plugin Sabla.dll [--count N] [--seed S] [--per-child K] "
               "[--hang-ms T] [--jobs J] [--max-failures F] [--report-every R] [--check-heap]\n"
               "       fuzz_host --plugin Sabla.dll --replay S | --print S\n",
               stderr);
    return 2;
  }
  if (a.print) {
    out(describe(make_sequence(a.campaign.seed)));
    return 0;
  }
  if (a.replay) return run_replay(a);
  if (a.child) return run_child(a);
  a.campaign.plugin = a.plugin;
  out("fuzz_host: " + std::to_string(a.campaign.count) + " sequences from seed " +
      std::to_string(a.campaign.seed) + "\n");
  const CampaignResult result = run_campaign(a.campaign);
  out(summary_line(result));
  if (result.setup_failed) return 2;
  return result.crashes == 0 && result.hangs == 0 ? 0 : 1;
}
