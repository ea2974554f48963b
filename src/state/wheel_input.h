#pragma once
#include <cstdint>
#include <memory>

namespace sabla {

// One buffered event of the mouse: which part of the mouse moved (its offset in the extended
// mouse state) and by how much.
struct MouseEvent {
  uint32_t offset = 0;
  int32_t data = 0;
};

enum class MouseReadResult {
  kEvent,      // one event was read
  kEmpty,      // the buffer holds no more events
  kInputLost,  // the system took the device away; acquiring it again resumes reading
  kFailed,     // any other failure, including reading while not acquired
};

// The seam to the system mouse: the real one is DirectInput's, tests script their own. The
// device is set up completely before it is handed over; dropping it releases it.
class MouseDevice {
 public:
  virtual ~MouseDevice() = default;
  virtual bool acquire() = 0;
  virtual void unacquire() = 0;
  // Reads the oldest buffered event, if any.
  virtual MouseReadResult read_event(MouseEvent& event) = 0;
};

// The mouse wheel, read once per idle call. The value of a poll is the last wheel movement
// buffered since the previous poll, not their sum: however fast the wheel turns, one idle call
// scrolls one step.
class WheelInput {
 public:
  // Offset of the wheel axis in the extended mouse state.
  static constexpr uint32_t kWheelAxisOffset = 8;
  // A read that keeps failing, or events that keep arriving, never hold up the idle call.
  static constexpr int kMaxReadsPerPoll = 4096;
  static constexpr int kMaxReacquiresPerPoll = 4;

  WheelInput() = default;
  ~WheelInput() { close_wheel(); }
  WheelInput(const WheelInput&) = delete;
  WheelInput& operator=(const WheelInput&) = delete;

  // Takes over a device that was set up completely; without one the wheel stays closed and
  // is not read. An open device is closed first.
  bool open_wheel(std::unique_ptr<MouseDevice> device);
  // Unacquires and releases the device; safe when closed.
  void close_wheel();
  // Start and stop buffering wheel movements; nothing happens while closed.
  void acquire_wheel();
  void release_wheel();
  // Reads every buffered event; the wheel value becomes the data of the last wheel event, or 0.
  void poll_wheel();

  // Negative means the wheel turned towards the user.
  int32_t wheel_value() const { return wheel_value_; }
  bool is_open() const { return device_ != nullptr; }

 private:
  std::unique_ptr<MouseDevice> device_;
  int32_t wheel_value_ = 0;
};

}  // namespace sabla
