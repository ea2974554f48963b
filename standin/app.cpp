#include "app.h"

#include "screenshot.h"
#include "small_file.h"

namespace standin {

namespace {

std::wstring describe_track(const std::optional<PlaylistTrack>& track) {
  if (!track) return L"No track";
  std::string text = track->title;
  if (!track->artist.empty()) text = track->artist + " - " + text;
  return from_utf8(text + "  (" + format_position(track->length_ms) + ")");
}

}  // namespace

App::App(HINSTANCE instance, Options options, const Console& console)
    : instance_(instance),
      options_(std::move(options)),
      console_(console),
      session_([&console](std::string_view text) { console.out(text); }) {}

int App::run() {
  for (auto step : {&App::load_track, &App::load_and_register_plugin, &App::create_window}) {
    if (const ExitCode code = (this->*step)(); code != kExitOk) {
      unload_plugin();
      return code;
    }
  }
  const int loop_result = message_loop();
  unload_plugin();
  return exit_code_ != kExitOk ? exit_code_ : loop_result;
}

ExitCode App::load_track() {
  if (options_.playlist_path.empty()) return kExitOk;
  const std::filesystem::path path(from_utf8(options_.playlist_path));
  const std::optional<std::string> text = read_small_file(path, kMaxPlaylistBytes);
  if (!text) {
    console_.error("standin: cannot read the playlist " + options_.playlist_path + "\n");
    return kExitPlaylistUnusable;
  }
  ParsedPlaylist parsed = parse_playlist(*text);
  if (!parsed.ok()) {
    for (const std::string& problem : parsed.problems) {
      console_.error("standin: " + options_.playlist_path + ": " + problem + "\n");
    }
    return kExitPlaylistUnusable;
  }
  track_ = std::move(parsed.tracks.front());
  console_.out("track: \"" + track_->title + "\" by \"" + track_->artist + "\" on \"" +
               track_->album + "\", " + std::to_string(track_->length_ms) + " ms\n");
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
  console_.out("plug-in: " + to_utf8(plugin_.full_path) + "\n");

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
  if (!MainWindow::register_class(instance_) ||
      !window_.create(instance_, L"Sabla stand-in", options_.width, options_.height)) {
    console_.error("standin: cannot create the window: " + system_error_text(GetLastError()) +
                   "\n");
    return kExitInternalFailure;
  }
  if (track_) window_.set_track(track_->length_ms);
  std::wstring plugin_line = L"No plug-in";
  if (!session_.registrations().empty()) {
    plugin_line =
        L"Plug-in \"" + from_utf8(session_.registrations().front().fields.name) + L"\" registered";
  }
  window_.set_visualizer_lines(describe_track(track_), plugin_line);
  return kExitOk;
}

int App::message_loop() {
  const bool automatic = options_.headless || !options_.screenshot_path.empty();
  window_.show(SW_SHOWNORMAL, [this, automatic] {
    if (automatic) on_window_settled();
  });
  MSG message;
  BOOL got = 0;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return got < 0 ? kExitInternalFailure : static_cast<int>(message.wParam);
}

void App::on_window_settled() {
  if (!options_.screenshot_path.empty()) exit_code_ = take_screenshot();
  window_.close();
}

ExitCode App::take_screenshot() {
  RedrawWindow(window_.window(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Capture capture;
  std::string error;
  if (!capture_client(window_.window(), capture, error) ||
      !save_png(capture, from_utf8(options_.screenshot_path), error)) {
    console_.error("standin: screenshot " + options_.screenshot_path + " failed: " + error + "\n");
    return kExitScreenshotFailed;
  }
  console_.out("screenshot: " + options_.screenshot_path + " (client area " +
               std::to_string(capture.width) + "x" + std::to_string(capture.height) + ", " +
               std::to_string(capture.distinct_colours()) + " colours)\n");
  return kExitOk;
}

void App::unload_plugin() {
  if (!plugin_.entry) return;
  session_.send_clear(plugin_.entry);
  plugin_ = LoadedPlugin{};
}

}  // namespace standin
