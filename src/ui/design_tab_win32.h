#pragma once
#include <windows.h>

#include "ui/dialog_win32.h"

namespace sabla {

class OptionsWindow;

// The design page: where and how each display item is drawn, fonts, colours and the visualizer.
class DesignTab final : public Dialog {
 public:
  explicit DesignTab(OptionsWindow& frame) : frame_(frame) {}

 private:
  OptionsWindow& frame_;
};

}  // namespace sabla
