#pragma once
// A scenario: what the stand-in does, one step per line, for tests and the demo.
//
//   # comment
//   play | pause | resume | stop | next | prev | ff | rewind      transport, as the buttons
//   seek MS                 move to MS milliseconds into the track
//   wait MS                 let the player run (idle calls, render data, the clock)
//   key CHORD [HOLD_MS]     press and release a key, e.g. "key F5", "key ctrl+s 300"
//   screenshot PATH         save the window's client area as PNG (rest of the line)
//   hide | show             take the visualizer away / give it back
//   resize WxH              change the window's client size
//   configure               ask the plug-in for its options window ("cnfg")
//   busy on | busy off      open / close the player's modal window
//   copy SRC -> DST         put a file where the plug-in looks, as a user or a tagger would
//   delete PATH             take a file away; one that is not there is no failure
//   count-colour RRGGBB     print how many client-area pixels have exactly that colour
//   dialog-tab N            select tab N (from 0) of the plug-in's options window
//   dialog-type ID TEXT     type TEXT (rest of the line, UTF-8; \n is Enter) at the end of the
//                           edit box ID of the options window's page in view
//   dialog-press ID         press button ID of the options window (page in view first), or
//                           send command ID (a menu command) to the page in view
//   dialog-modal ID PATH    as dialog-press, for a command that opens a modal dialog: save that
//                           dialog's picture as PNG and cancel it
//   dialog-screenshot PATH  save the options window, frame included, as PNG
//   quit                    end here; the scenario's end does the same
//
// The paths of copy and delete are UTF-8, taken from the stand-in's working folder unless
// absolute, and may begin with "%DOCUMENTS%\": the user's Documents folder, the plug-in's
// default lyric folder.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "key_codes.h"

namespace standin {

inline constexpr uint32_t kMaxWaitMs = 10 * 60 * 1000;
inline constexpr uint32_t kMaxKeyHoldMs = 10 * 1000;
inline constexpr uint32_t kDefaultKeyHoldMs = 150;
inline constexpr size_t kMaxScenarioBytes = 1024 * 1024;  // a long soak runs to some 100 KB
// Separates the two paths of "copy": file names hold spaces, arrows hardly ever.
inline constexpr std::string_view kCopyArrow = " -> ";
inline constexpr std::string_view kDocumentsFolder = "%DOCUMENTS%";

enum class StepKind {
  kPlay,
  kPause,
  kResume,
  kStop,
  kNext,
  kPrevious,
  kFastForward,
  kRewind,
  kSeek,
  kWait,
  kKey,
  kScreenshot,
  kHide,
  kShow,
  kResize,
  kConfigure,
  kBusy,
  kCopy,
  kDelete,
  kCountColour,
  kDialogTab,
  kDialogType,
  kDialogPress,
  kDialogModal,
  kDialogScreenshot,
  kQuit,
};

struct Step {
  StepKind kind = StepKind::kQuit;
  uint32_t ms = 0;  // seek position, wait time or key hold time
  int width = 0;    // resize
  int height = 0;
  bool on = false;      // busy
  uint32_t colour = 0;  // count-colour, 0xRRGGBB
  int control = 0;      // the dialog steps' tab index, control or command id
  KeyChord key;
  std::string path;    // screenshot, copy's source, delete, typed text; UTF-8
  std::string target;  // copy's destination, UTF-8
  size_t line = 0;
};

struct ParsedScenario {
  std::vector<Step> steps;
  std::vector<std::string> problems;  // "line 3: ..." each; empty when usable

  bool ok() const { return problems.empty(); }
};

ParsedScenario parse_scenario(std::string_view text);

// The step as it would be written, for the stand-in's log.
std::string describe_step(const Step& step);

// Whether `path` begins with "%DOCUMENTS%\" (or "/"), in any case.
bool names_documents(std::string_view path);

// `path` with a leading "%DOCUMENTS%\" (or "%DOCUMENTS%/") put as `documents` and a backslash;
// any other path as it is.
std::string expand_documents(std::string_view path, std::string_view documents);

// "#RRGGBB" in upper case, as count-colour reports it.
std::string colour_text(uint32_t colour);

}  // namespace standin
