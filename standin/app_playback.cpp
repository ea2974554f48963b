// The running stand-in: the playback loop, the scenario's steps, the visual messages they cause
// and what the user does with the window.
#include <algorithm>
#include <cstdint>
#include <utility>

#include "app.h"
#include "dialog_steps.h"
#include "display_text.h"
#include "file_steps.h"
#include "gdi_count.h"
#include "key_input.h"
#include "screenshot.h"

namespace standin {

namespace {

// How often the transport bar and the track lines are brought up to date.
constexpr uint64_t kRefreshMs = 250;

}  // namespace

void App::report_gdi_objects() {
  const int live = live_gdi_objects();
  // Kilobytes: a soak run's log compares the first and the last hide.
  const std::string memory = ", private bytes " + std::to_string(private_bytes() / 1024) + " KB";
  if (!gdi_after_last_hide_) {
    print("gdi objects after hide: " + std::to_string(live) + " (first hide)" + memory + "\n");
  } else {
    const int change = live - *gdi_after_last_hide_;
    print("gdi objects after hide: " + std::to_string(live) + " (since the previous hide: " +
          (change >= 0 ? "+" : "") + std::to_string(change) + ")" + memory + "\n");
  }
  gdi_after_last_hide_ = live;
}

void App::loop() {
  uint64_t next_refresh = 0;
  while (!quit_) {
    const uint64_t now = steady_clock_ms();
    run_due_steps(now);
    if (quit_) break;
    deliver();
    const uint64_t next_idle = driver_ ? driver_->idle(now) : UINT64_MAX;
    // What the plug-in did through the automation interface while it had idle time.
    deliver();
    if (now >= next_refresh) {
      refresh_window();
      next_refresh = now + kRefreshMs;
    }
    uint64_t wake = std::min(next_idle, next_refresh);
    if (scripted_) wake = std::min(wake, std::max(resume_at_, now));
    const auto timeout = static_cast<DWORD>(wake > now ? std::min<uint64_t>(wake - now, 1000) : 0);
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quit_ = true;
        break;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void App::run_due_steps(uint64_t now) {
  end_run_if_failed(std::exchange(modal_result_, kExitOk));
  // A step may take a while (a screenshot, a plug-in answering), so each one reads the clock.
  for (; !quit_ && now >= resume_at_; now = steady_clock_ms()) {
    if (held_key_) {
      if (!release_keys(*held_key_)) print("scenario: the key could not be released\n");
      held_key_.reset();
    }
    if (next_step_ >= steps_.size()) {
      if (scripted_) quit_ = true;
      return;
    }
    const Step step = steps_[next_step_++];
    print("scenario" + (step.line ? " line " + std::to_string(step.line) : std::string()) + ": " +
          describe_step(step) + "\n");
    run_step(step, now);
    // Each step's messages go out before the next step, so they keep the scenario's order.
    deliver();
  }
}

void App::run_step(const Step& step, uint64_t now) {
  switch (step.kind) {
    case StepKind::kPlay:
      model_.play();
      break;
    case StepKind::kPause:
      model_.pause();
      break;
    case StepKind::kResume:
      model_.resume();
      break;
    case StepKind::kStop:
      model_.stop();
      break;
    case StepKind::kNext:
      model_.next();
      break;
    case StepKind::kPrevious:
      model_.previous();
      break;
    case StepKind::kFastForward:
      model_.fast_forward();
      break;
    case StepKind::kRewind:
      model_.rewind();
      break;
    case StepKind::kSeek:
      model_.seek(step.ms);
      break;
    case StepKind::kWait:
      resume_at_ = now + step.ms;
      break;
    case StepKind::kKey:
      if (!press_keys(step.key)) print("scenario: the system did not take the key\n");
      held_key_ = step.key;
      resume_at_ = now + step.ms;
      break;
    case StepKind::kScreenshot:
      end_run_if_failed(take_screenshot(step.path));
      break;
    case StepKind::kCopy:
      end_run_if_failed(run_copy(step));
      break;
    case StepKind::kDelete:
      end_run_if_failed(run_delete(step));
      break;
    case StepKind::kCountColour:
      end_run_if_failed(count_colour(step.colour));
      break;
    case StepKind::kHide:
      hide_visualizer();
      report_gdi_objects();
      break;
    case StepKind::kShow:
      show_visualizer();
      break;
    case StepKind::kResize:
      window_.resize(step.width, step.height);
      break;
    case StepKind::kConfigure:
      if (!visual_) {
        print("scenario: no plug-in to configure\n");
      } else if (!driver_->requests().wants_configure) {
        print("scenario: the plug-in did not ask for 'cnfg'\n");
      } else {
        const uint64_t asked = steady_clock_ms();
        visual_->configure();
        if (find_options_window()) {
          print("configure: the options window showed after " +
                std::to_string(steady_clock_ms() - asked) + " ms\n");
        }
      }
      break;
    case StepKind::kDialogTab:
    case StepKind::kDialogType:
    case StepKind::kDialogPress:
    case StepKind::kDialogModal:
    case StepKind::kDialogScreenshot:
      end_run_if_failed(run_dialog_step(step));
      break;
    case StepKind::kBusy:
      set_busy(step.on);
      break;
    case StepKind::kQuit:
      quit_ = true;
      break;
  }
}

void App::deliver() {
  model_.update();
  if (!driver_) {
    model_.take_events();
    return;
  }
  driver_->deliver_events();
  if (visual_->shown() && window_changed_)
    visual_->set_window(window_.visualizer(), drawing_rect());
  if (visual_->shown() && exposed_) visual_->update();
  window_changed_ = exposed_ = false;
}

sabla::DrawingRect App::drawing_rect() const {
  const RECT area = window_.visualizer_rect();
  return {static_cast<int16_t>(area.top), static_cast<int16_t>(area.left),
          static_cast<int16_t>(area.bottom), static_cast<int16_t>(area.right)};
}

void App::show_visualizer() {
  if (!visual_) {
    print("no plug-in to show\n");
    return;
  }
  if (visual_->shown()) return;
  window_changed_ = exposed_ = false;
  if (visual_->show(window_.visualizer(), drawing_rect())) window_.set_plugin_draws(true);
}

void App::hide_visualizer() {
  if (!visual_ || !visual_->shown()) return;
  visual_->hide();
  window_.set_plugin_draws(false);
}

void App::set_busy(bool busy) {
  if (busy && !busy_.open(instance_)) {
    print("player: the modal window cannot be opened: " + system_error_text(GetLastError()) + "\n");
    return;
  }
  if (!busy) busy_.close();
  if (automation_) automation_->set_busy(busy);
  print(busy ? "player: busy, a modal window is open\n" : "player: no longer busy\n");
}

void App::refresh_window() {
  if (!window_.window()) return;
  const bool has_track = model_.has_track();
  const uint32_t length = has_track ? model_.tracks()[model_.current()].length_ms : 0;
  window_.show_transport(model_.position_ms(), length, model_.state() == PlayState::kPlaying,
                         has_track);
  std::wstring plugin_line = L"No plug-in";
  if (!session_.registrations().empty()) {
    plugin_line =
        L"Plug-in \"" + from_utf8(session_.registrations().front().fields.name) + L"\" registered";
  }
  window_.set_visualizer_lines(
      has_track ? from_utf8(track_summary(model_.tracks()[model_.current()])) : L"No track",
      plugin_line);
}

bool App::capture_window(Capture& capture, std::string& error) {
  refresh_window();
  RedrawWindow(window_.window(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  return capture_client(window_.window(), capture, error);
}

ExitCode App::run_dialog_step(const Step& step) {
  const HWND frame = find_options_window();
  if (!frame) {
    console_.error("standin: " + describe_step(step) + ": the options window is not open\n");
    return kExitScreenshotFailed;
  }
  std::string error;
  switch (step.kind) {
    case StepKind::kDialogTab:
      error = select_options_tab(frame, step.control);
      break;
    case StepKind::kDialogType:
      error = type_into(frame, step.control, from_utf8(step.path));
      break;
    case StepKind::kDialogPress:
      error = press(frame, step.control);
      break;
    case StepKind::kDialogModal:
      error = press_for_modal(frame, step.control, [this, path = step.path](HWND dialog) {
        if (!dialog) {
          console_.error("standin: no dialog opened for " + path + "\n");
          modal_result_ = kExitScreenshotFailed;
        } else if (const ExitCode code = save_dialog_picture(dialog, path); code != kExitOk) {
          modal_result_ = code;
        }
      });
      break;
    default:
      return save_dialog_picture(frame, step.path);
  }
  if (error.empty()) return kExitOk;
  console_.error("standin: " + describe_step(step) + ": " + error + "\n");
  return kExitScreenshotFailed;
}

ExitCode App::save_dialog_picture(HWND dialog, const std::string& path) {
  // Whatever the dialog still has to paint, it paints before its picture is taken.
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN |
                                             RDW_UPDATENOW);
  Capture capture;
  std::string error;
  if (!capture_whole_window(dialog, capture, error) ||
      !save_png(capture, from_utf8(path), error)) {
    console_.error("standin: dialog picture " + path + " failed: " + error + "\n");
    return kExitScreenshotFailed;
  }
  print("dialog picture: " + path + " (" + std::to_string(capture.width) + "x" +
        std::to_string(capture.height) + ")\n");
  return kExitOk;
}

ExitCode App::take_screenshot(const std::string& path) {
  Capture capture;
  std::string error;
  if (!capture_window(capture, error) || !save_png(capture, from_utf8(path), error)) {
    console_.error("standin: screenshot " + path + " failed: " + error + "\n");
    return kExitScreenshotFailed;
  }
  print("screenshot: " + path + " (client area " + std::to_string(capture.width) + "x" +
        std::to_string(capture.height) + ", " + std::to_string(capture.distinct_colours()) +
        " colours)\n");
  return kExitOk;
}

ExitCode App::count_colour(uint32_t colour) {
  Capture capture;
  std::string error;
  if (!capture_window(capture, error)) {
    console_.error("standin: count-colour " + colour_text(colour).substr(1) + " failed: " + error +
                   "\n");
    return kExitScreenshotFailed;
  }
  const auto matches = std::count_if(capture.pixels.begin(), capture.pixels.end(),
                                     [colour](uint32_t p) { return (p & 0xFFFFFF) == colour; });
  print("pixels of " + colour_text(colour) + ": " + std::to_string(matches) + "\n");
  return kExitOk;
}

ExitCode App::run_copy(const Step& step) {
  std::string error;
  const std::wstring source = resolve_step_path(step.path, error);
  const std::wstring target = source.empty() ? L"" : resolve_step_path(step.target, error);
  if (target.empty() || !copy_file_whole(source, target, error)) {
    console_.error("standin: copy " + step.path + std::string(kCopyArrow) + step.target +
                   " failed: " + error + "\n");
    return kExitFileStepFailed;
  }
  print("copy: " + to_utf8(source) + std::string(kCopyArrow) + to_utf8(target) + ": copied\n");
  return kExitOk;
}

ExitCode App::run_delete(const Step& step) {
  std::string error;
  const std::wstring path = resolve_step_path(step.path, error);
  const DeleteResult result = path.empty() ? DeleteResult::kFailed : delete_file(path, error);
  if (result == DeleteResult::kFailed) {
    console_.error("standin: delete " + step.path + " failed: " + error + "\n");
    return kExitFileStepFailed;
  }
  print("delete: " + to_utf8(path) +
        (result == DeleteResult::kDeleted ? ": deleted\n" : ": not there, nothing to delete\n"));
  return kExitOk;
}

void App::on_play_pause() {
  model_.state() == PlayState::kPlaying ? model_.pause() : model_.play();
}

void App::on_previous() { model_.previous(); }

void App::on_next() { model_.next(); }

void App::on_seek(uint32_t position_ms) { model_.seek(position_ms); }

}  // namespace standin
