#include "visual_host.h"

#include <cstring>

#include "byte_text.h"
#include "host_protocol.h"
#include "text_codec.h"

namespace standin {

namespace {

sabla::VisualMessage zeroed() {
  sabla::VisualMessage message;
  std::memset(&message, 0, sizeof message);
  return message;
}

std::string rect_text(const sabla::DrawingRect& r) {
  return "top " + std::to_string(r.top) + " left " + std::to_string(r.left) + " bottom " +
         std::to_string(r.bottom) + " right " + std::to_string(r.right);
}

std::string track_text(const sabla::TrackRecord* track) {
  if (!track) return "no track";
  return "track \"" + utf8_from_utf16(sabla::host_text(track->name)) + "\"";
}

std::string pointer_text(const void* p) {
  return hex(reinterpret_cast<uintptr_t>(p), static_cast<int>(sizeof p * 2));
}

}  // namespace

std::optional<int32_t> VisualHost::send(uint32_t code, Needs needs, sabla::VisualMessage& message,
                                        const std::string& detail) {
  const std::string name = four_char_text(code);
  const char* refusal = in_call_                                       ? "the handler is still busy"
                        : code != sabla::kMessageInit && !initialised_ ? "no 'init' yet"
                        : needs == Needs::kShown && !shown_            ? "not shown"
                                                                       : nullptr;
  if (refusal) {
    print_("visual " + name + " not sent: " + std::string(refusal) + "\n");
    return std::nullopt;
  }
  const bool idle = code == sabla::kMessageIdle || code == sabla::kMessageRenderData;
  if (!idle) report_idle_counts();

  in_call_ = true;
  const int32_t status = handler_(code, &message, instance_);
  in_call_ = false;

  const bool listed = !idle || report_every_idle_ || status != kStatusOk;
  if (code == sabla::kMessageIdle) ++idle_count_, idle_unreported_ += !listed;
  if (code == sabla::kMessageRenderData) ++render_count_, render_unreported_ += !listed;
  if (listed) {
    print_("visual " + name + (detail.empty() ? "" : " " + detail) + " -> " +
           std::to_string(status) + "\n");
  }
  return status;
}

std::optional<int32_t> VisualHost::send_simple(uint32_t code, Needs needs) {
  sabla::VisualMessage message = zeroed();
  return send(code, needs, message, "");
}

void VisualHost::report_idle_counts() {
  if (idle_unreported_ == 0 && render_unreported_ == 0) return;
  print_("visual 'null' x" + std::to_string(idle_unreported_) + ", 'vrnd' x" +
         std::to_string(render_unreported_) + "\n");
  idle_unreported_ = render_unreported_ = 0;
}

std::optional<int32_t> VisualHost::init(uint8_t host_major_version, void* cookie,
                                        sabla::HostCallback callback) {
  if (initialised_) {
    print_("visual 'init' not sent: already initialised\n");
    return std::nullopt;
  }
  sabla::VisualMessage message = zeroed();
  message.init.major_version = kRecordMajor;
  message.init.host_major_version = host_major_version;
  message.init.host_cookie = cookie;
  message.init.host_callback = callback;
  const std::optional<int32_t> status = send(sabla::kMessageInit, Needs::kInit, message,
                                             "host version " + std::to_string(host_major_version));
  if (status == kStatusOk) {
    initialised_ = true;
    instance_ = message.init.instance;
    print_("visual instance " + pointer_text(instance_) + "\n");
  }
  return status;
}

std::optional<int32_t> VisualHost::clear() {
  const std::optional<int32_t> status = send_simple(sabla::kMessageClear, Needs::kInit);
  if (status) {
    initialised_ = shown_ = false;
    instance_ = nullptr;
  }
  return status;
}

std::optional<int32_t> VisualHost::show(void* window, sabla::DrawingRect rect) {
  if (shown_) {
    print_("visual 'show' not sent: already shown\n");
    return std::nullopt;
  }
  sabla::VisualMessage message = zeroed();
  message.show.window = window;
  message.show.rect = rect;
  const std::optional<int32_t> status =
      send(sabla::kMessageShow, Needs::kInit, message,
           "window " + pointer_text(window) + " " + rect_text(rect));
  // The plug-in holds on to the window from here on, whatever it answered.
  if (status) shown_ = true;
  return status;
}

std::optional<int32_t> VisualHost::set_window(void* window, sabla::DrawingRect rect) {
  sabla::VisualMessage message = zeroed();
  message.show.window = window;
  message.show.rect = rect;
  return send(sabla::kMessageSetWindow, Needs::kShown, message,
              "window " + pointer_text(window) + " " + rect_text(rect));
}

std::optional<int32_t> VisualHost::hide() {
  const std::optional<int32_t> status = send_simple(sabla::kMessageHide, Needs::kShown);
  if (status) shown_ = false;
  return status;
}

std::optional<int32_t> VisualHost::idle() {
  return send_simple(sabla::kMessageIdle, Needs::kShown);
}

std::optional<int32_t> VisualHost::render(const sabla::RenderData* data, uint32_t time_stamp) {
  sabla::VisualMessage message = zeroed();
  message.render.data = data;
  message.render.time_stamp = time_stamp;
  return send(sabla::kMessageRenderData, Needs::kShown, message, "");
}

std::optional<int32_t> VisualHost::play(const sabla::TrackRecord* track,
                                        const sabla::StreamRecord* stream) {
  sabla::VisualMessage message = zeroed();
  message.play.has_track = track != nullptr;
  message.play.has_stream = stream != nullptr;
  message.play.track = track;
  message.play.stream = stream;
  return send(sabla::kMessagePlay, Needs::kInit, message, track_text(track));
}

std::optional<int32_t> VisualHost::change_track(const sabla::TrackRecord* track,
                                                const sabla::StreamRecord* stream) {
  sabla::VisualMessage message = zeroed();
  message.change_track.has_track = track != nullptr;
  message.change_track.has_stream = stream != nullptr;
  message.change_track.track = track;
  message.change_track.stream = stream;
  return send(sabla::kMessageChangeTrack, Needs::kInit, message, track_text(track));
}

std::optional<int32_t> VisualHost::set_position(uint32_t position_ms) {
  sabla::VisualMessage message = zeroed();
  message.set_position.position_ms = position_ms;
  return send(sabla::kMessageSetPosition, Needs::kInit, message,
              std::to_string(position_ms) + " ms");
}

std::optional<int32_t> VisualHost::pause() {
  return send_simple(sabla::kMessagePause, Needs::kInit);
}

std::optional<int32_t> VisualHost::unpause() {
  return send_simple(sabla::kMessageUnpause, Needs::kInit);
}

std::optional<int32_t> VisualHost::stop() { return send_simple(sabla::kMessageStop, Needs::kInit); }

std::optional<int32_t> VisualHost::configure() {
  return send_simple(sabla::kMessageConfigure, Needs::kInit);
}

std::optional<int32_t> VisualHost::update() {
  return send_simple(sabla::kMessageUpdate, Needs::kShown);
}

}  // namespace standin
