#pragma once
// The host's side of the visual messages: builds each message record, calls the plug-in's
// handler with the instance it gave at "init", and reports what was sent and answered. It keeps
// the order a host keeps: nothing before "init" or after "clr ", "show" before anything that
// needs the window, and never a message while the handler is still busy with another.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "state/host_records.h"

namespace standin {

class VisualHost {
 public:
  using Printer = std::function<void(std::string_view)>;

  VisualHost(sabla::VisualHandler handler, Printer print)
      : handler_(handler), print_(std::move(print)) {}
  VisualHost(const VisualHost&) = delete;
  VisualHost& operator=(const VisualHost&) = delete;

  // Every idle and render message is reported on its own, not only counted.
  void set_report_every_idle(bool every) { report_every_idle_ = every; }

  // Each returns the handler's status, or nothing when the message was not sent.
  std::optional<int32_t> init(uint8_t host_major_version, void* cookie,
                              sabla::HostCallback callback);
  std::optional<int32_t> clear();
  std::optional<int32_t> show(void* window, sabla::DrawingRect rect);
  std::optional<int32_t> set_window(void* window, sabla::DrawingRect rect);
  std::optional<int32_t> hide();
  std::optional<int32_t> idle();
  std::optional<int32_t> render(const sabla::RenderData* data, uint32_t time_stamp);
  std::optional<int32_t> play(const sabla::TrackRecord* track, const sabla::StreamRecord* stream);
  std::optional<int32_t> change_track(const sabla::TrackRecord* track,
                                      const sabla::StreamRecord* stream);
  std::optional<int32_t> set_position(uint32_t position_ms);
  std::optional<int32_t> pause();
  std::optional<int32_t> unpause();
  std::optional<int32_t> stop();
  std::optional<int32_t> configure();
  std::optional<int32_t> update();

  bool initialised() const { return initialised_; }
  bool shown() const { return shown_; }
  bool in_call() const { return in_call_; }
  void* instance() const { return instance_; }
  uint64_t idle_count() const { return idle_count_; }
  uint64_t render_count() const { return render_count_; }

  // Reports the idle and render messages counted since the last report.
  void report_idle_counts();

 private:
  enum class Needs { kInit, kShown };
  std::optional<int32_t> send(uint32_t code, Needs needs, sabla::VisualMessage& message,
                              const std::string& detail);
  std::optional<int32_t> send_simple(uint32_t code, Needs needs);

  sabla::VisualHandler handler_;
  Printer print_;
  bool report_every_idle_ = false;
  bool initialised_ = false;
  bool shown_ = false;
  bool in_call_ = false;
  void* instance_ = nullptr;
  uint64_t idle_count_ = 0;
  uint64_t render_count_ = 0;
  uint64_t idle_unreported_ = 0;
  uint64_t render_unreported_ = 0;
};

}  // namespace standin
