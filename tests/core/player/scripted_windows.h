#pragma once
#include <vector>

#include "player/player_busy.h"

namespace sabla::test {

// A window list the test writes; counts how often the busy test looked.
class ScriptedWindows : public WindowSource {
 public:
  std::vector<TopLevelWindow> windows;
  int asked = 0;

  std::vector<TopLevelWindow> top_level_windows() override {
    ++asked;
    return windows;
  }
};

}  // namespace sabla::test
