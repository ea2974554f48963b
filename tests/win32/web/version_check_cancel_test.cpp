// Version checks cancelled at every stage of their fetch, many times over, against a server that
// answers at once and one that never answers. Cancelling must never touch the fetch's network
// handles from the cancelling thread where the platform frees what a running call still uses
// (under Wine that corrupted the host's heap), and a cancelled check never reports.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/web/local_http_server.h"
#include "state/plugin_state.h"
#include "web/version_check.h"

namespace sabla {
namespace {

// Wine's HeapValidate can take a small block that another thread is being handed for damaged,
// so only a heap that fails again a moment later counts.
bool heaps_whole() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  for (DWORD i = 0; i < count && i < 64; ++i) {
    int failures = 0;
    while (!HeapValidate(heaps[i], 0, nullptr)) {
      if (++failures == 5) return false;
      Sleep(20);
    }
  }
  return count > 0;
}

TEST(VersionCheckCancel, CancellingAtAnyStageLeavesTheHeapsWholeAndReportsNothing) {
  test::LocalHttpServer answering;
  test::LocalHttpServer silent;
  ASSERT_FALSE(answering.address().empty());
  ASSERT_FALSE(silent.address().empty());
  answering.serve("/zip/Sabla_ver.txt", 200, "6811");
  answering.serve("/zip/Sabla_ver_beta.txt", 200, "6810");
  silent.answer_never();

  PluginState state;
  for (int round = 0; round < 400; ++round) {
    const std::string& server = round % 2 ? answering.address() : silent.address();
    state.requests.new_version_pending = 7;
    state.requests.new_beta_pending = 7;
    start_version_check(state, VersionFile::kRelease, server);
    start_version_check(state, VersionFile::kBeta, server);
    // From before the session exists to the wait for an answer.
    Sleep(static_cast<DWORD>(round % 9));
    state.version_checks.stop(2);
    if (round % 50 == 49) ASSERT_TRUE(heaps_whole()) << "after round " << round;
  }
  // The checks left running were cancelled: whatever they still do, they write no flag.
  const int32_t release = state.requests.new_version_pending.load();
  const int32_t beta = state.requests.new_beta_pending.load();
  Sleep(kVersionFetchTimeoutMs / 4);
  EXPECT_EQ(state.requests.new_version_pending.load(), release);
  EXPECT_EQ(state.requests.new_beta_pending.load(), beta);
  EXPECT_TRUE(heaps_whole());
}

}  // namespace
}  // namespace sabla
