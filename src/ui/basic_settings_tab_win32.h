#pragma once
#include <windows.h>

#include "ui/dialog_win32.h"

namespace sabla {

class OptionsWindow;

// The basic settings page: search slots, folders, keys, encodings, saving, the wheel, the version check and the iPod folder.
class BasicSettingsTab final : public Dialog {
 public:
  explicit BasicSettingsTab(OptionsWindow& frame) : frame_(frame) {}

 private:
  OptionsWindow& frame_;
};

}  // namespace sabla
