#include "command_line.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

TEST(CommandLine, EveryOptionIsRead) {
  const ParsedCommandLine parsed =
      parse_command_line({"--plugin", "dist\\Sabla.dll", "--screenshot", "out/a b.png", "--size",
                          "800x600", "--playlist", "samples/playlist.txt", "--scenario", "s.txt",
                          "--host-version", "4", "--busy", "--verbose", "--headless"});
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  const Options& o = parsed.options;
  EXPECT_EQ(o.plugin_path, "dist\\Sabla.dll");
  EXPECT_EQ(o.screenshot_path, "out/a b.png");
  EXPECT_EQ(o.playlist_path, "samples/playlist.txt");
  EXPECT_EQ(o.scenario_path, "s.txt");
  EXPECT_EQ(o.host_version, 4);
  EXPECT_TRUE(o.busy);
  EXPECT_TRUE(o.verbose);
  EXPECT_EQ(o.width, 800);
  EXPECT_EQ(o.height, 600);
  EXPECT_TRUE(o.headless);
  EXPECT_FALSE(o.help);
}

TEST(CommandLine, NothingGivenMeansDefaults) {
  const ParsedCommandLine parsed = parse_command_line({});
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed.options.width, kDefaultWidth);
  EXPECT_EQ(parsed.options.height, kDefaultHeight);
  EXPECT_TRUE(parsed.options.plugin_path.empty());
  EXPECT_FALSE(parsed.options.headless);
  EXPECT_EQ(parsed.options.host_version, 7);
  EXPECT_FALSE(parsed.options.busy);
}

TEST(CommandLine, MistakesAreExplained) {
  const struct {
    std::vector<std::string> args;
    const char* error;
  } cases[] = {
      {{"--plugin"}, "--plugin needs a value"},
      {{"--plugin", ""}, "--plugin needs a value"},
      {{"--plugin", "--headless"}, "--plugin needs a value"},
      {{"--playlist", "a", "--playlist", "b"}, "--playlist is given twice"},
      {{"--host-version", "5", "--host-version", "6"}, "--host-version is given twice"},
      {{"--host-version", "0"}, "--host-version wants a whole number from 1 to 99"},
      {{"--host-version", "100"}, "--host-version wants"},
      {{"--host-version", "+7"}, "--host-version wants"},
      {{"--track", "a"}, "unknown argument \"--track\""},
      {{"--size", "800x600", "--size", "640x480"}, "--size is given twice"},
      {{"--size", "12x12"}, "--size wants WxH"},
      {{"--frobnicate"}, "unknown argument \"--frobnicate\""},
      {{"Sabla.dll"}, "unknown argument \"Sabla.dll\""},
  };
  for (const auto& c : cases) {
    const ParsedCommandLine parsed = parse_command_line(c.args);
    EXPECT_NE(parsed.error.find(c.error), std::string::npos)
        << c.args.front() << ": " << parsed.error;
  }
}

TEST(CommandLine, HelpIsRecognised) {
  for (const char* flag : {"--help", "-h", "/?"}) {
    const ParsedCommandLine parsed = parse_command_line({flag});
    EXPECT_TRUE(parsed.ok() && parsed.options.help) << flag;
  }
}

TEST(SizeArgument, AcceptsOnlyWholeSidesWithinLimits) {
  int w = 1;
  int h = 2;
  EXPECT_TRUE(parse_size("640x480", w, h));
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  EXPECT_TRUE(parse_size("240X160", w, h));
  EXPECT_EQ(w, 240);
  EXPECT_EQ(h, 160);
  EXPECT_TRUE(parse_size("4096x4096", w, h));

  for (const char* bad :
       {"", "x", "640", "640x", "x480", "239x480", "640x159", "4097x480", "640x4097", "-640x480",
        "+640x480", "64 0x480", "640x480x2", "99999999999x480", "640x480 ", "６４０x480"}) {
    w = h = 7;
    EXPECT_FALSE(parse_size(bad, w, h)) << bad;
    EXPECT_EQ(w, 7) << bad;
    EXPECT_EQ(h, 7) << bad;
  }
}

}  // namespace
}  // namespace standin
