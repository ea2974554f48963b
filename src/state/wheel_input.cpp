#include "state/wheel_input.h"

#include <utility>

namespace sabla {

bool WheelInput::open_wheel(std::unique_ptr<MouseDevice> device) {
  close_wheel();
  device_ = std::move(device);
  return is_open();
}

void WheelInput::close_wheel() {
  if (device_) {
    device_->unacquire();
    device_.reset();
  }
  wheel_value_ = 0;
}

void WheelInput::acquire_wheel() {
  if (device_) device_->acquire();
}

void WheelInput::release_wheel() {
  if (device_) device_->unacquire();
}

void WheelInput::poll_wheel() {
  wheel_value_ = 0;
  if (!device_) return;
  int reacquires = 0;
  for (int reads = 0; reads < kMaxReadsPerPoll; ++reads) {
    MouseEvent event;
    switch (device_->read_event(event)) {
      case MouseReadResult::kEvent:
        if (event.offset == kWheelAxisOffset) wheel_value_ = event.data;
        break;
      case MouseReadResult::kInputLost:
        // Another program took the mouse for a moment; once it is ours again the buffer
        // fills anew. A device that cannot be won back is left alone until the next poll.
        if (reacquires++ >= kMaxReacquiresPerPoll || !device_->acquire()) return;
        break;
      case MouseReadResult::kEmpty:
      case MouseReadResult::kFailed:
        return;
    }
  }
}

}  // namespace sabla
