#include "scenario.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

bool has_problem(const ParsedScenario& parsed, const std::string& text) {
  for (const std::string& p : parsed.problems) {
    if (p.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(Scenario, ReadsEveryStep) {
  const ParsedScenario parsed = parse_scenario(
      "\xEF\xBB\xBF# demo\r\n"
      "play\r\n"
      "  wait 1500  \r\n"
      "seek 83000\n"
      "pause\nresume\nstop\nnext\nprev\nff\nrewind\n"
      "key F5\n"
      "key ctrl+shift+s 300\n"
      "screenshot out/a b.png\n"
      "hide\nshow\n"
      "resize 800x600\n"
      "configure\n"
      "busy on\nbusy off\n"
      "quit\n");
  ASSERT_TRUE(parsed.ok()) << parsed.problems.front();
  const std::vector<Step>& s = parsed.steps;
  ASSERT_EQ(s.size(), 20u);
  EXPECT_EQ(s[0].kind, StepKind::kPlay);
  EXPECT_EQ(s[0].line, 2u);
  EXPECT_EQ(s[1].kind, StepKind::kWait);
  EXPECT_EQ(s[1].ms, 1500u);
  EXPECT_EQ(s[2].kind, StepKind::kSeek);
  EXPECT_EQ(s[2].ms, 83000u);
  const StepKind plain[] = {StepKind::kPause, StepKind::kResume,   StepKind::kStop,
                            StepKind::kNext,  StepKind::kPrevious, StepKind::kFastForward,
                            StepKind::kRewind};
  for (size_t i = 0; i < std::size(plain); ++i) EXPECT_EQ(s[3 + i].kind, plain[i]) << i;
  EXPECT_EQ(s[10].kind, StepKind::kKey);
  EXPECT_EQ(s[10].key, (KeyChord{0x74, false, false, false}));
  EXPECT_EQ(s[10].ms, kDefaultKeyHoldMs);
  EXPECT_EQ(s[11].key, (KeyChord{'S', true, true, false}));
  EXPECT_EQ(s[11].ms, 300u);
  EXPECT_EQ(s[12].kind, StepKind::kScreenshot);
  EXPECT_EQ(s[12].path, "out/a b.png");
  EXPECT_EQ(s[13].kind, StepKind::kHide);
  EXPECT_EQ(s[14].kind, StepKind::kShow);
  EXPECT_EQ(s[15].kind, StepKind::kResize);
  EXPECT_EQ(s[15].width, 800);
  EXPECT_EQ(s[15].height, 600);
  EXPECT_EQ(s[16].kind, StepKind::kConfigure);
  EXPECT_EQ(s[17].kind, StepKind::kBusy);
  EXPECT_TRUE(s[17].on);
  EXPECT_FALSE(s[18].on);
  EXPECT_EQ(s[19].kind, StepKind::kQuit);
  EXPECT_EQ(describe_step(s[11]), "key ctrl+shift+0x53 300");
  EXPECT_EQ(describe_step(s[1]), "wait 1500");
}

TEST(Scenario, DialogStepsReadTheirIdsTextsAndFiles) {
  const ParsedScenario parsed = parse_scenario(
      "dialog-tab 1\n"
      "dialog-type 1092 \\n[03:00:00]書き足した行 \\\\ end\n"
      "dialog-press 40009\n"
      "dialog-modal 40001 out/demo/tool one.png\n"
      "dialog-screenshot out/demo/options.png\n"
      "dialog-tab 5\n"
      "dialog-type 1092\n"
      "dialog-press x\n"
      "dialog-modal 40001\n"
      "dialog-press 65536\n");
  const std::vector<Step>& s = parsed.steps;
  ASSERT_EQ(s.size(), 5u);
  EXPECT_EQ(s[0].kind, StepKind::kDialogTab);
  EXPECT_EQ(s[0].control, 1);
  EXPECT_EQ(s[1].kind, StepKind::kDialogType);
  EXPECT_EQ(s[1].control, 1092);
  EXPECT_EQ(s[1].path, "\r[03:00:00]書き足した行 \\ end");
  EXPECT_EQ(s[2].kind, StepKind::kDialogPress);
  EXPECT_EQ(s[2].control, 40009);
  EXPECT_EQ(s[3].kind, StepKind::kDialogModal);
  EXPECT_EQ(s[3].control, 40001);
  EXPECT_EQ(s[3].path, "out/demo/tool one.png");
  EXPECT_EQ(s[4].kind, StepKind::kDialogScreenshot);
  EXPECT_EQ(s[4].path, "out/demo/options.png");
  EXPECT_EQ(describe_step(s[3]), "dialog-modal 40001 out/demo/tool one.png");
  for (const char* problem : {"line 6: dialog-tab wants", "line 7: dialog-type wants",
                              "line 8: dialog-press wants", "line 9: dialog-modal wants",
                              "line 10: dialog-press wants"}) {
    EXPECT_TRUE(has_problem(parsed, problem)) << problem;
  }
}

TEST(Scenario, MistakesNameTheirLine) {
  const ParsedScenario parsed = parse_scenario(
      "dance\n"            // 1
      "play now\n"         // 2
      "wait\n"             // 3
      "wait 600001\n"      // 4
      "seek -5\n"          // 5
      "key\n"              // 6
      "key F25\n"          // 7
      "key F5 0\n"         // 8
      "key ctrl+ctrl+a\n"  // 9
      "screenshot\n"       // 10
      "resize 10x10\n"     // 11
      "busy maybe\n"       // 12
      "seek 86400001\n"    // 13
      "wait 1e3\n");       // 14
  EXPECT_TRUE(has_problem(parsed, "line 1: unknown step \"dance\""));
  EXPECT_TRUE(has_problem(parsed, "line 2: play takes no argument"));
  EXPECT_TRUE(has_problem(parsed, "line 3: wait wants milliseconds"));
  EXPECT_TRUE(has_problem(parsed, "line 4: wait wants"));
  EXPECT_TRUE(has_problem(parsed, "line 5: seek wants"));
  EXPECT_TRUE(has_problem(parsed, "line 6: key wants a key"));
  EXPECT_TRUE(has_problem(parsed, "line 7: key wants a key"));
  EXPECT_TRUE(has_problem(parsed, "line 8: key wants a hold time"));
  EXPECT_TRUE(has_problem(parsed, "line 9: key wants a key"));
  EXPECT_TRUE(has_problem(parsed, "line 10: screenshot wants a file name"));
  EXPECT_TRUE(has_problem(parsed, "line 11: resize wants WxH"));
  EXPECT_TRUE(has_problem(parsed, "line 12: busy wants on or off"));
  EXPECT_TRUE(has_problem(parsed, "line 13: seek wants"));
  EXPECT_TRUE(has_problem(parsed, "line 14: wait wants"));
  EXPECT_EQ(parsed.problems.size(), 14u);
  EXPECT_TRUE(parsed.steps.empty());
  EXPECT_TRUE(parse_scenario("").ok());
}

TEST(Scenario, FileStepsKeepSpacesAndTheDocumentsFolder) {
  const ParsedScenario parsed = parse_scenario(
      "copy samples\\Tsukimi Lanterns - Paper Lantern Road.lrc -> "
      "%DOCUMENTS%\\Tsukimi Lanterns - Paper Lantern Road.lrc\n"
      "copy  /abs/歌詞 a.lrc  ->  %documents%/sub/b.lrc \n"
      "delete %DOCUMENTS%\\a b.lrc\n"
      "delete old -> new.lrc\n"
      "count-colour FF8000\n"
      "count-colour #00ff7f\n");
  ASSERT_TRUE(parsed.ok()) << parsed.problems.front();
  const std::vector<Step>& s = parsed.steps;
  ASSERT_EQ(s.size(), 6u);
  EXPECT_EQ(s[0].kind, StepKind::kCopy);
  EXPECT_EQ(s[0].path, "samples\\Tsukimi Lanterns - Paper Lantern Road.lrc");
  EXPECT_EQ(s[0].target, "%DOCUMENTS%\\Tsukimi Lanterns - Paper Lantern Road.lrc");
  EXPECT_EQ(s[1].path, "/abs/歌詞 a.lrc");
  EXPECT_EQ(s[1].target, "%documents%/sub/b.lrc");
  EXPECT_EQ(s[2].kind, StepKind::kDelete);
  EXPECT_EQ(s[2].path, "%DOCUMENTS%\\a b.lrc");
  // Only copy splits at the arrow; to delete it is part of a strange but possible name.
  EXPECT_EQ(s[3].path, "old -> new.lrc");
  EXPECT_EQ(s[4].kind, StepKind::kCountColour);
  EXPECT_EQ(s[4].colour, 0xFF8000u);
  EXPECT_EQ(s[5].colour, 0x00FF7Fu);
  EXPECT_EQ(describe_step(s[1]), "copy /abs/歌詞 a.lrc -> %documents%/sub/b.lrc");
  EXPECT_EQ(describe_step(s[2]), "delete %DOCUMENTS%\\a b.lrc");
  EXPECT_EQ(describe_step(s[5]), "count-colour 00FF7F");
  EXPECT_EQ(colour_text(0x0A0B0C), "#0A0B0C");

  EXPECT_EQ(expand_documents(s[0].target, "C:\\users\\me\\Documents\\"),
            "C:\\users\\me\\Documents\\Tsukimi Lanterns - Paper Lantern Road.lrc");
  EXPECT_EQ(expand_documents(s[1].target, "C:\\Docs"), "C:\\Docs\\sub/b.lrc");
  EXPECT_EQ(expand_documents("out\\%DOCUMENTS%\\a.lrc", "C:\\Docs"), "out\\%DOCUMENTS%\\a.lrc");
  EXPECT_EQ(expand_documents("%DOCUMENTSX\\a.lrc", "C:\\Docs"), "%DOCUMENTSX\\a.lrc");
  EXPECT_FALSE(names_documents("%DOCUMENTS%"));
  EXPECT_TRUE(names_documents("%Documents%\\a"));
}

TEST(Scenario, FileStepMistakesNameTheirLine) {
  const ParsedScenario parsed = parse_scenario(
      "copy a.lrc\n"                      // 1
      "copy a.lrc->b.lrc\n"               // 2
      "copy -> b.lrc\n"                   // 3
      "copy a.lrc ->\n"                   // 4
      "copy a.lrc -> %DOCUMENTS%\n"       // 5
      "copy a.lrc -> %DOCUMENTS%\\\n"     // 6
      "copy a.lrc -> %DOCUMENTS%a.lrc\n"  // 7
      "delete\n"                          // 8
      "delete %DOCUMENTS%\\\\a.lrc\n"     // 9
      "count-colour\n"                    // 10
      "count-colour FF80\n"               // 11
      "count-colour FF800G\n"             // 12
      "count-colour 0xFF8000\n"           // 13
      "count-colour FF8000 FF8000\n");    // 14
  EXPECT_TRUE(has_problem(parsed, "line 1: copy wants SRC -> DST"));
  EXPECT_TRUE(has_problem(parsed, "line 2: copy wants SRC -> DST"));
  EXPECT_TRUE(has_problem(parsed, "line 3: copy wants SRC -> DST"));
  EXPECT_TRUE(has_problem(parsed, "line 4: copy wants SRC -> DST"));
  EXPECT_TRUE(has_problem(parsed, "line 5: copy wants a file name after %DOCUMENTS%\\"));
  EXPECT_TRUE(has_problem(parsed, "line 6: copy wants a file name after"));
  EXPECT_TRUE(has_problem(parsed, "line 7: copy wants a file name after"));
  EXPECT_TRUE(has_problem(parsed, "line 8: delete wants a file name"));
  EXPECT_TRUE(has_problem(parsed, "line 9: delete wants a file name after"));
  EXPECT_TRUE(has_problem(parsed, "line 10: count-colour wants a colour as RRGGBB"));
  EXPECT_TRUE(has_problem(parsed, "line 11: count-colour wants"));
  EXPECT_TRUE(has_problem(parsed, "line 12: count-colour wants"));
  EXPECT_TRUE(has_problem(parsed, "line 13: count-colour wants"));
  EXPECT_TRUE(has_problem(parsed, "line 14: count-colour wants"));
  EXPECT_EQ(parsed.problems.size(), 14u);
  EXPECT_TRUE(parsed.steps.empty());
}

TEST(KeyCodes, NamesCodesAndChords) {
  EXPECT_EQ(key_code("a"), 'A');
  EXPECT_EQ(key_code("Z"), 'Z');
  EXPECT_EQ(key_code("7"), '7');
  EXPECT_EQ(key_code("f1"), 0x70);
  EXPECT_EQ(key_code("F24"), 0x87);
  EXPECT_EQ(key_code("F0"), std::nullopt);
  EXPECT_EQ(key_code("F01"), std::nullopt);
  EXPECT_EQ(key_code("numpad0"), 0x60);
  EXPECT_EQ(key_code("NUMPAD9"), 0x69);
  EXPECT_EQ(key_code("numpad10"), std::nullopt);
  EXPECT_EQ(key_code("Space"), 0x20);
  EXPECT_EQ(key_code("pageup"), 0x21);
  EXPECT_EQ(key_code("\\"), 0xDC);
  EXPECT_EQ(key_code("0x41"), 0x41);
  EXPECT_EQ(key_code("0xff"), std::nullopt);
  EXPECT_EQ(key_code("0x00"), std::nullopt);
  EXPECT_EQ(key_code(""), std::nullopt);
  EXPECT_EQ(key_code("AB"), std::nullopt);
  EXPECT_EQ(parse_key_chord("alt+F4"), (KeyChord{0x73, false, false, true}));
  EXPECT_EQ(parse_key_chord("Control+Up"), (KeyChord{0x26, true, false, false}));
  EXPECT_EQ(parse_key_chord("ctrl+"), std::nullopt);
  EXPECT_EQ(parse_key_chord("+"), std::nullopt);
  EXPECT_EQ(parse_key_chord("meta+a"), std::nullopt);
  EXPECT_EQ(parse_key_chord("ctrl"), (KeyChord{0x11, false, false, false}));
}

}  // namespace
}  // namespace standin
