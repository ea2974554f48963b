#include "ui/about_tab_win32.h"

#include <atomic>

#include "state/host_messages.h"
#include "state/plugin_state.h"
#include "state/version.h"
#include "ui/key_help_text.h"
#include "ui/options_window_win32.h"
#include "ui/resources/about_tab_ids.h"
#include "ui/themed_pages_win32.h"
#include "web/version_check.h"

namespace sabla {
namespace {

constexpr int32_t kNewVersionQuestion = 40046;
constexpr int32_t kUpToDate = 40050;
constexpr int32_t kCheckFailed = 40051;
constexpr int32_t kNewBetaQuestion = 40068;
constexpr wchar_t kCaption[] = L"Sabla";
constexpr wchar_t kBetaCaption[] = L"Sabla BETA";

// The check runs on a thread of its own (WinINet has no time-out of its own and an unreachable
// server would hold the player's window for as long as it likes); the page looks for its answer
// this often.
constexpr UINT_PTR kCheckTimer = 1;
constexpr UINT kCheckPollMs = 100;

constexpr std::u16string_view kNoticeFirstLine = u"Sabla　カラオケ風歌詞表示プラグイン　作者：Mivo";

std::atomic<int32_t>& pending_flag(PluginState& state, VersionFile file) {
  return file == VersionFile::kRelease ? state.requests.new_version_pending
                                       : state.requests.new_beta_pending;
}

// A newer version is told once: the 1 is taken away in one step, as the idle processing does,
// so that a background check finishing meanwhile is neither lost nor asked about twice.
bool take_newer(std::atomic<int32_t>& flag) {
  int32_t newer = 1;
  return flag.compare_exchange_strong(newer, 0);
}

void open_maker_site(const PluginState& state) {
  open_url_in_host(state.host.host_cookie, state.host.host_callback, kSiteUrl.data(),
                   static_cast<uint32_t>(kSiteUrl.size()));
}

int show_box(HWND owner, const std::u16string& text, const wchar_t* caption, UINT type) {
  return MessageBoxW(owner, wide(text), caption, type);
}

}  // namespace

AboutTab::AboutTab(OptionsWindow& frame) : frame_(frame), version_server_(kVersionServerUrl) {}

AboutTab::~AboutTab() { *alive_ = false; }

bool AboutTab::on_init() {
  enable_themed_page(window());
  set_window_text(item(IDC_ABOUT_VERSION), frame_.state().host.own_version_caption);
  std::u16string notice(kNoticeFirstLine);
  notice += u"\r\n";
  notice.append(kSiteUrl.begin(), kSiteUrl.end());
  set_window_text(item(IDC_ABOUT_NOTICE), notice);
  show_key_help();
  return true;
}

void AboutTab::show_key_help() {
  const PluginState& state = frame_.state();
  set_window_text(item(IDC_ABOUT_KEY_COLUMN), key_help_text(state.settings, state.key_names));
}

bool AboutTab::on_command(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_ABOUT_CHECK_VERSION:
      // A second press while the answer is awaited would only ask the same question twice.
      if (!checking()) start_check(CheckPhase::kRelease);
      return true;
    case IDC_ABOUT_MAKER_SITE:
      open_maker_site(frame_.state());
      return true;
    case IDC_ABOUT_OPEN_SETTINGS:
      open_settings_file();
      return true;
    default:
      return false;
  }
}

bool AboutTab::on_message(UINT message, WPARAM wparam, LPARAM, INT_PTR& result) {
  switch (message) {
    case WM_SHOWWINDOW:
      // Shown again means the tab was chosen again: the keys may have been changed meanwhile
      // on the basic settings page.
      if (wparam) show_key_help();
      return false;
    case WM_TIMER:
      if (wparam != kCheckTimer) return false;
      poll_check();
      result = 0;
      return true;
    default:
      return false;
  }
}

void AboutTab::start_check(CheckPhase phase) {
  PluginState& state = frame_.state();
  const VersionFile file =
      phase == CheckPhase::kRelease ? VersionFile::kRelease : VersionFile::kBeta;
  phase_ = phase;
  // When none starts, a check of the same file is already under way (the one started when the
  // visualizer was shown); its answer is as fresh as a new one would be, so it is awaited.
  start_version_check(state, file, version_server_);
  if (!SetTimer(window(), kCheckTimer, kCheckPollMs, nullptr)) {
    phase_ = CheckPhase::kIdle;
  }
}

void AboutTab::poll_check() {
  PluginState& state = frame_.state();
  const CheckPhase phase = phase_;
  if (phase == CheckPhase::kIdle) {
    KillTimer(window(), kCheckTimer);
    return;
  }
  const VersionFile file =
      phase == CheckPhase::kRelease ? VersionFile::kRelease : VersionFile::kBeta;
  std::atomic<int32_t>& flag = pending_flag(state, file);
  if (state.version_checks.running(flag)) return;
  KillTimer(window(), kCheckTimer);
  phase_ = CheckPhase::kIdle;
  if (phase == CheckPhase::kRelease) {
    answer_release(flag.load());
  } else {
    answer_beta(flag.load());
  }
}

void AboutTab::answer_release(int32_t result) {
  PluginState& state = frame_.state();
  const std::shared_ptr<bool> alive = alive_;
  const HWND owner = frame_.window();
  if (result < 0) {
    show_box(owner, frame_.text(kCheckFailed), kCaption, MB_OK);
  } else if (result == 0) {
    show_box(owner, frame_.text(kUpToDate), kCaption, MB_OK);
  } else if (take_newer(state.requests.new_version_pending)) {
    if (show_box(owner, frame_.text(kNewVersionQuestion), kCaption, MB_YESNO | MB_ICONQUESTION) ==
        IDYES) {
      open_maker_site(state);
    }
  }
  if (!*alive) return;
  if (state.settings.ver_check_beta == 1) start_check(CheckPhase::kBeta);
}

void AboutTab::answer_beta(int32_t result) {
  PluginState& state = frame_.state();
  // Only news counts here: the release answer has already told the user how the check went.
  if (result != 1 || !take_newer(state.requests.new_beta_pending)) return;
  if (show_box(frame_.window(), frame_.text(kNewBetaQuestion), kBetaCaption,
               MB_YESNO | MB_ICONWARNING) == IDYES) {
    open_maker_site(state);
  }
}

void AboutTab::open_settings_file() {
  // Cancelling deletes the window and this page with it: take what is needed first.
  OptionsServices& services = frame_.services();
  const std::u16string path = frame_.state().settings.file_path;
  const HWND options = frame_.window();
  // Cancelled first, so that nothing edited on the pages can later be saved over what the user
  // is about to write into the file by hand.
  SendMessageW(options, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  // Opening an empty path would open whatever folder happens to be current.
  if (!path.empty()) services.open_file(path);
}

}  // namespace sabla
