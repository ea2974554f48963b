#include "app.h"

#include <mmsystem.h>

#include <algorithm>
#include <filesystem>

#include "byte_text.h"
#include "display_text.h"
#include "key_input.h"
#include "small_file.h"
#include "text_codec.h"
#include "track_records.h"

namespace standin {

namespace {

// Without a scenario, a headless run or a plain screenshot waits this long for the window (and
// a plug-in) to have drawn.
constexpr uint32_t kSettleMs = 300;
// Lyrics held by the player larger than this are refused as a playlist mistake.
constexpr size_t kMaxLyricsFileBytes = 1024 * 1024;

// Waits of a few milliseconds need the system timer at its finest.
class TimerResolution {
 public:
  TimerResolution() : raised_(timeBeginPeriod(1) == TIMERR_NOERROR) {}
  ~TimerResolution() {
    if (raised_) timeEndPeriod(1);
  }
  TimerResolution(const TimerResolution&) = delete;
  TimerResolution& operator=(const TimerResolution&) = delete;

 private:
  bool raised_;
};

// The host callback as the handler's "init" hands it over.
int32_t forward_host_call(void* cookie, uint32_t message, sabla::HostMessage* record) {
  return HostSession::host_callback(cookie, message, record);
}

std::wstring full_path_beside(const std::filesystem::path& file, const std::string& relative) {
  if (relative.empty()) return {};
  return full_path_of(beside(file, relative).wstring());
}

}  // namespace

App::App(HINSTANCE instance, Options options, const Console& console)
    : instance_(instance),
      options_(std::move(options)),
      console_(console),
      model_({}, steady_clock_ms),
      session_([&console](std::string_view text) { console.out(text); }) {}

App::~App() { shut_down(); }

int App::run() {
  const TimerResolution resolution;
  for (auto step : {&App::load_playlist, &App::load_scenario, &App::start_automation,
                    &App::load_and_register_plugin, &App::create_window, &App::start_visualizer}) {
    if (const ExitCode code = (this->*step)(); code != kExitOk) {
      shut_down();
      return code;
    }
  }
  loop();
  shut_down();
  return exit_code_;
}

ExitCode App::load_playlist() {
  if (options_.playlist_path.empty()) return kExitOk;
  const std::filesystem::path path(from_utf8(options_.playlist_path));
  const std::string& shown = options_.playlist_path;
  const std::optional<std::string> text = read_small_file(path, kMaxPlaylistBytes);
  if (!text) {
    console_.error("standin: cannot read the playlist " + shown + "\n");
    return kExitPlaylistUnusable;
  }
  ParsedPlaylist parsed = parse_playlist(*text);
  for (const std::string& problem : parsed.problems) {
    console_.error("standin: " + shown + ": " + problem + "\n");
  }
  if (!parsed.ok()) return kExitPlaylistUnusable;

  std::vector<std::u16string> lyrics;
  for (size_t i = 0; i < parsed.tracks.size(); ++i) {
    const PlaylistTrack& t = parsed.tracks[i];
    const std::string number = "track " + std::to_string(i + 1);
    TrackFiles files;
    files.location =
        is_stream_location(t.location) ? from_utf8(t.location) : full_path_beside(path, t.location);
    files.artwork = full_path_beside(path, t.artwork);
    if (!files.artwork.empty() &&
        GetFileAttributesW(files.artwork.c_str()) == INVALID_FILE_ATTRIBUTES) {
      console_.error("standin: " + shown + ": " + number + ": no artwork file " + t.artwork + "\n");
      return kExitPlaylistUnusable;
    }
    lyrics.emplace_back();
    if (!t.lyrics.empty()) {
      const std::optional<std::string> bytes =
          read_small_file(beside(path, t.lyrics), kMaxLyricsFileBytes);
      if (!bytes) {
        console_.error("standin: " + shown + ": " + number + ": cannot read the lyrics file " +
                       t.lyrics + "\n");
        return kExitPlaylistUnusable;
      }
      lyrics.back() = decode_text_file(*bytes);
    }
    locations_.push_back(to_utf8(files.location));
    files_.push_back(std::move(files));
    print(number + ": " + track_summary(t) + ", lyrics " + std::to_string(lyrics.back().size()) +
          " characters, " + (files_.back().artwork.empty() ? "no artwork" : "artwork") + ", at " +
          locations_.back() + "\n");
  }
  model_ = PlayerModel(std::move(parsed.tracks), steady_clock_ms);
  for (size_t i = 0; i < lyrics.size(); ++i) model_.set_lyrics(i, std::move(lyrics[i]));
  return kExitOk;
}

ExitCode App::load_scenario() {
  if (options_.scenario_path.empty()) {
    // A headless run or a plain screenshot is a scenario of its own.
    if (options_.headless || !options_.screenshot_path.empty()) {
      scripted_ = true;
      Step settle;
      settle.kind = StepKind::kWait;
      settle.ms = kSettleMs;
      steps_.push_back(settle);
      if (!options_.screenshot_path.empty()) {
        Step shot;
        shot.kind = StepKind::kScreenshot;
        shot.path = options_.screenshot_path;
        steps_.push_back(shot);
      }
    }
    return kExitOk;
  }
  const std::string& shown = options_.scenario_path;
  const std::optional<std::string> text =
      read_small_file(std::filesystem::path(from_utf8(shown)), kMaxScenarioBytes);
  if (!text) {
    console_.error("standin: cannot read the scenario " + shown + "\n");
    return kExitScenarioUnusable;
  }
  ParsedScenario parsed = parse_scenario(*text);
  for (const std::string& problem : parsed.problems) {
    console_.error("standin: " + shown + ": " + problem + "\n");
  }
  if (!parsed.ok()) return kExitScenarioUnusable;
  steps_ = std::move(parsed.steps);
  scripted_ = true;
  return kExitOk;
}

ExitCode App::start_automation() {
  if (!apartment_.usable()) {
    console_.error("standin: COM does not start: " + hex(apartment_.result()) + "\n");
    return kExitInternalFailure;
  }
  automation_ = std::make_unique<PlayerAutomation>(
      model_, files_, options_.host_version, [this](std::string_view t) { print(t); },
      options_.verbose);
  if (const HRESULT hr = automation_->register_class(); FAILED(hr)) {
    console_.error("standin: cannot serve the player's automation class: " + hex(hr) + "\n");
    return kExitInternalFailure;
  }
  print("automation: the player's class is served by this process, as iTunes " +
        std::to_string(options_.host_version) + "\n");
  if (options_.busy) set_busy(true);
  return kExitOk;
}

ExitCode App::load_and_register_plugin() {
  if (options_.plugin_path.empty()) return kExitOk;
  PluginLoad load = load_plugin(from_utf8(options_.plugin_path));
  if (!load.ok()) {
    console_.error("standin: " + load.message + "\n");
    return load.code;
  }
  plugin_ = std::move(load.plugin);
  print("plug-in: " + to_utf8(plugin_.full_path) + "\n");

  const int32_t status = session_.send_init(plugin_.entry);
  const auto& registrations = session_.registrations();
  if (registrations.empty()) {
    console_.error("standin: the plug-in did not register a visualizer during 'init'\n");
    return kExitRegistrationFailed;
  }
  if (!registrations.front().valid()) {
    console_.error("standin: the plug-in's registration has problems (listed above)\n");
    return kExitRegistrationFailed;
  }
  if (status != kStatusOk) {
    console_.error("standin: the plug-in's 'init' failed with status " + std::to_string(status) +
                   "\n");
    return kExitRegistrationFailed;
  }
  return kExitOk;
}

ExitCode App::create_window() {
  const std::wstring title =
      L"Sabla stand-in (iTunes " + std::to_wstring(options_.host_version) + L")";
  if (!MainWindow::register_class(instance_) ||
      !window_.create(instance_, title, options_.width, options_.height, *this)) {
    console_.error("standin: cannot create the window: " + system_error_text(GetLastError()) +
                   "\n");
    return kExitInternalFailure;
  }
  refresh_window();
  window_.show(SW_SHOWNORMAL);
  // Nobody is at the mouse of a headless run, but the pointer is shared by every program on the
  // display: one left over the window by an earlier program would hover a lyric line (drawn in
  // the hover colour) or a link. It goes to the screen's far corner, away from the window.
  if (options_.headless) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  return kExitOk;
}

ExitCode App::start_visualizer() {
  if (session_.registrations().empty()) return kExitOk;
  const Registration& registration = session_.registrations().front().fields;
  const auto handler =
      reinterpret_cast<sabla::VisualHandler>(static_cast<uintptr_t>(registration.handler));
  visual_ = std::make_unique<VisualHost>(handler, [this](std::string_view t) { print(t); });
  visual_->set_report_every_idle(options_.verbose);
  driver_ = std::make_unique<HostDriver>(*visual_, model_, locations_, requests_of(registration));
  const std::optional<int32_t> status =
      visual_->init(static_cast<uint8_t>(options_.host_version), &session_, &forward_host_call);
  if (status != kStatusOk) {
    console_.error("standin: the plug-in's handler refused 'init'\n");
    return kExitRegistrationFailed;
  }
  print("idle every " + std::to_string(driver_->requests().idle_interval_ms) + " ms\n");
  show_visualizer();
  return kExitOk;
}

void App::shut_down() {
  if (held_key_) {
    release_keys(*held_key_);
    held_key_.reset();
  }
  if (visual_) {
    hide_visualizer();
    if (visual_->initialised()) visual_->clear();
    visual_->report_idle_counts();
    print("visual messages: 'null' " + std::to_string(visual_->idle_count()) + ", 'vrnd' " +
          std::to_string(visual_->render_count()) + "\n");
  }
  driver_.reset();
  visual_.reset();
  if (plugin_.entry) session_.send_clear(plugin_.entry);
  plugin_ = LoadedPlugin{};
  if (automation_) {
    print(automation_->usage_report());
    automation_.reset();
  }
  busy_.close();
  window_.close();
}

}  // namespace standin
