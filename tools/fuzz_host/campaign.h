#pragma once
// The parent of a fuzzing campaign: runs the sequences in child processes of this same
// program, a batch per child, and watches each sequence for a crash or a hang.
#include <cstdint>
#include <string>

namespace fuzz_host {

struct CampaignOptions {
  std::wstring self;    // this program
  std::wstring plugin;  // the library under test
  uint64_t seed = 1;    // sequence i of the campaign is made from seed + i
  uint64_t count = 1000;
  uint32_t per_child = 250;
  uint32_t hang_ms = 5000;  // one step (a call into the plug-in) longer than this is a hang
  uint32_t max_failures = 20;  // stop early after this many crashes and hangs together
  uint32_t report_every = 1000;  // progress lines, in sequences; 0 for none
  uint32_t jobs = 1;  // children at once, in one Wine server: their players are each other's too
  // Every heap of the child is validated after each step, so a write into freed or foreign heap
  // memory is caught at the step that made it rather than at some later allocation. Slow; run
  // with WINEDEBUG=warn+heap, which makes Wine keep freed blocks filled and checkable.
  bool check_heap = false;
};

struct CampaignResult {
  uint64_t sequences = 0;
  uint64_t crashes = 0;
  uint64_t hangs = 0;
  uint64_t children = 0;
  long gdi_baseline = -1;  // the first child's count before its first sequence
  long gdi_min = -1;       // after a sequence, over the whole campaign
  long gdi_max = -1;
  long gdi_growth_max = 0;  // the most any child grew from its own baseline
  uint64_t dialogs_closed = 0;
  double seconds = 0;
  bool setup_failed = false;
};

CampaignResult run_campaign(const CampaignOptions& options);

// The summary line every campaign ends with.
std::string summary_line(const CampaignResult& result);

}  // namespace fuzz_host
