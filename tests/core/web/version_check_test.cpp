#include "web/version_check.h"

#include <gtest/gtest.h>

#include <future>

#include "core/web/local_http_server.h"
#include "state/plugin_state.h"

namespace sabla {
namespace {

constexpr int32_t kOwn = 6810;  // version 0.68.1.0

int32_t flag(const std::string& read, int32_t own = kOwn) { return version_check_flag(read, own); }

TEST(VersionCheck, PublishedNumberAgainstOwnNumber) {
  EXPECT_EQ(flag("6811"), 1);
  EXPECT_EQ(flag("6810"), 0);
  EXPECT_EQ(flag("6809"), 0);
  EXPECT_EQ(flag(" 6811\r\nnotes"), 1);  // atoi's leading blanks; what follows is ignored
  // Parts joined without separators: 0.68.10.0 is 68100, so 0.69.0.0 (6900) counts as older.
  EXPECT_EQ(flag("6900", 68100), 0);
  // Fifteen digits are no overflow.
  EXPECT_EQ(flag("999999999999999"), 1);
}

TEST(VersionCheck, FilesOutsideFourToFifteenCharactersFail) {
  EXPECT_EQ(flag("000000000006811"), 1);
  EXPECT_EQ(flag("0000000000006811"), -1);
  EXPECT_EQ(flag("681"), -1);
  EXPECT_EQ(flag(std::string("12\0"
                             "3456",
                             7)),
            -1);  // the text ends at a zero byte
  EXPECT_EQ(flag(""), -1);
  EXPECT_EQ(version_check_flag(std::nullopt, kOwn), -1);
  // No number at all is no answer, not "up to date".
  EXPECT_EQ(flag("<html>"), -1);
}

TEST(VersionChecks, OneCheckPerFlagAtATimeAndWaitJoinsThem) {
  std::atomic<int32_t> release{7};
  std::atomic<int32_t> beta{7};
  std::promise<void> go;
  std::shared_future<void> gate = go.get_future().share();
  VersionChecks checks;
  ASSERT_TRUE(checks.start(release, [gate] {
    gate.wait();
    return 1;
  }));
  EXPECT_TRUE(checks.running(release));
  EXPECT_FALSE(checks.start(release, [] { return 0; }));
  ASSERT_TRUE(checks.start(beta, []() -> int32_t { throw std::runtime_error("no network"); }));
  go.set_value();
  checks.wait();
  EXPECT_FALSE(checks.running(release));
  EXPECT_EQ(release.load(), 1);
  EXPECT_EQ(beta.load(), -1);
  EXPECT_TRUE(checks.start(release, [] { return 0; }));
  checks.wait();
  EXPECT_EQ(release.load(), 0);
}

class VersionCheckServer : public ::testing::Test {
 protected:
  VersionCheckServer() { state.host.own_version_number = kOwn; }
  test::LocalHttpServer server;
  PluginState state;
};

TEST_F(VersionCheckServer, BackgroundChecksReportToTheirFlags) {
  ASSERT_FALSE(server.address().empty());
  server.serve("/zip/Sabla_ver.txt", 200, "6811");
  server.serve("/zip/Sabla_ver_beta.txt", 200, "6810");
  EXPECT_TRUE(start_version_check(state, VersionFile::kRelease, server.address()));
  EXPECT_TRUE(start_version_check(state, VersionFile::kBeta, server.address()));
  state.version_checks.wait();
  EXPECT_EQ(state.requests.new_version_pending.load(), 1);
  EXPECT_EQ(state.requests.new_beta_pending.load(), 0);

  const std::vector<std::string> requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  for (const std::string& request : requests) {
    EXPECT_NE(request.find("User-Agent: Sabla\r\n"), std::string::npos) << request;
  }
  EXPECT_EQ(version_file_url("http://h:81", VersionFile::kBeta),
            "http://h:81/zip/Sabla_ver_beta.txt");
}

TEST_F(VersionCheckServer, BadFilesAndMissingServersFail) {
  ASSERT_FALSE(server.address().empty());
  server.serve("/zip/Sabla_ver.txt", 200, "6811");
  EXPECT_EQ(run_version_check(state, VersionFile::kRelease, server.address()), 1);
  // Asked again, the file is fetched again rather than taken from a cache.
  server.serve("/zip/Sabla_ver.txt", 200, "6810");
  EXPECT_EQ(run_version_check(state, VersionFile::kRelease, server.address()), 0);
  EXPECT_EQ(state.requests.new_version_pending.load(), 0);

  server.serve("/zip/Sabla_ver.txt", 200, "6811 and then more");
  EXPECT_EQ(run_version_check(state, VersionFile::kRelease, server.address()), -1);
  server.serve("/zip/Sabla_ver_beta.txt", 200, "681");
  EXPECT_EQ(run_version_check(state, VersionFile::kBeta, server.address()), -1);
  EXPECT_EQ(state.requests.new_beta_pending.load(), -1);
  // A short error page must not pass for a version number.
  server.serve("/zip/Sabla_ver_beta.txt", 404, "9999");
  EXPECT_EQ(run_version_check(state, VersionFile::kBeta, server.address()), -1);
  EXPECT_EQ(server.requests().size(), 5u);

  const std::string refused = test::LocalHttpServer::refused_address();
  ASSERT_FALSE(refused.empty());
  EXPECT_TRUE(start_version_check(state, VersionFile::kRelease, refused));
  state.version_checks.wait();
  EXPECT_EQ(state.requests.new_version_pending.load(), -1);
}

}  // namespace
}  // namespace sabla
