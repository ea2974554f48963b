// "clr " and a second "init" over the real Windows services while both version checks wait on a
// server that accepted their requests and never answers: the host thread must not wait for the
// network.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "core/web/local_http_server.h"
#include "state/host_records.h"
#include "sabla_dll.h"
#include "test_handler_services.h"

namespace sabla {
namespace {

int32_t unused_callback(void*, uint32_t, HostMessage*) { return kStatusOk; }

class VersionCheckStop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dll.get()) << "cannot load the built Sabla.dll";
    ASSERT_FALSE(server.address().empty());
    server.answer_never();
  }
  void TearDown() override { send(kMessageClear); }

  int32_t send(uint32_t message, void* record = nullptr) {
    return handle_visual_message(state, services, message, record, state.instance.get());
  }
  int32_t init() {
    VisualInitMessage message{};
    message.host_callback = &unused_callback;
    return send(kMessageInit, &message);
  }
  // Starts both checks and returns once the server holds both requests.
  bool checks_blocked() {
    state.requests.new_version_pending = 7;
    state.requests.new_beta_pending = 7;
    const size_t before = server.requests().size();
    if (!start_version_check(state, VersionFile::kRelease, server.address()) ||
        !start_version_check(state, VersionFile::kBeta, server.address())) {
      return false;
    }
    for (int i = 0; i < 5000 && server.requests().size() < before + 2; ++i) Sleep(1);
    Sleep(20);  // past the send, into the wait for an answer
    return server.requests().size() == before + 2 &&
           state.version_checks.running(state.requests.new_version_pending);
  }

  test::LocalHttpServer server;  // outlives the checks that talk to it
  test::SablaDll dll;
  PluginState state;
  test::TestHandlerServices services{dll.get()};
};

TEST_F(VersionCheckStop, ClearAndASecondInitReturnAtOnce) {
  struct Case {
    const char* name;
    uint32_t message;
  };
  const Case cases[] = {{"clr ", kMessageClear}, {"second init", kMessageInit}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(init(), kStatusOk);
    ASSERT_TRUE(checks_blocked());

    const auto before = std::chrono::steady_clock::now();
    const int32_t status = c.message == kMessageInit ? init() : send(c.message);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - before);
    std::printf("[ measured ] \"%s\" with two version checks blocked took %.1f ms\n", c.name,
                took.count() / 1000.0);
    EXPECT_EQ(status, kStatusOk);
    EXPECT_LT(took, std::chrono::milliseconds(200));
    EXPECT_FALSE(state.version_checks.running(state.requests.new_version_pending));
    EXPECT_FALSE(state.version_checks.running(state.requests.new_beta_pending));
    // A cancelled check is no answer: the idle processing has nothing to tell.
    EXPECT_EQ(state.requests.new_version_pending.load(), 7);
    EXPECT_EQ(state.requests.new_beta_pending.load(), 7);
    send(kMessageClear);
  }
}

}  // namespace
}  // namespace sabla
