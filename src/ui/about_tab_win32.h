#pragma once
#include <windows.h>

#include "ui/dialog_win32.h"

namespace sabla {

class OptionsWindow;

// The about page: the version, the keys, the version check on demand and the settings file.
class AboutTab final : public Dialog {
 public:
  explicit AboutTab(OptionsWindow& frame) : frame_(frame) {}

 private:
  OptionsWindow& frame_;
};

}  // namespace sabla
