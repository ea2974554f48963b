#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ui/dialog_win32.h"

namespace sabla {

class OptionsWindow;

// The about page: the version, the keys, the version check on demand and the settings file.
class AboutTab final : public Dialog {
 public:
  explicit AboutTab(OptionsWindow& frame);
  ~AboutTab() override;

  // Rebuilds the key column from the key settings of the moment.
  void show_key_help();
  // The server the button's check asks: the configured one, or a test's own.
  void set_version_server(std::string server) { version_server_ = std::move(server); }
  // Whether the button's check is still waiting for an answer.
  bool checking() const { return phase_ != CheckPhase::kIdle; }

 private:
  enum class CheckPhase { kIdle, kRelease, kBeta };

  bool on_init() override;
  bool on_command(int id, int code, HWND control) override;
  bool on_message(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

  void start_check(CheckPhase phase);
  void poll_check();
  void answer_release(int32_t result);
  void answer_beta(int32_t result);
  void open_settings_file();

  OptionsWindow& frame_;
  std::string version_server_;
  CheckPhase phase_ = CheckPhase::kIdle;
  // A message box lets the options window be closed under it, which deletes this page; what
  // runs after a box looks here first.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace sabla
