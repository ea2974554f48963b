#include "host/direct_input_win32.h"

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

#include <algorithm>
#include <array>
#include <utility>

namespace sabla {
namespace {

constexpr DWORD kBufferedEvents = 1000;
// Events taken from the device per read. Under Wine every read of the device also looks at
// the thread's message queue, and a moving mouse buffers several events between two idle calls.
constexpr DWORD kEventsPerRead = 64;

// One reference to a DirectInput interface, released with its owner.
struct ReleaseInterface {
  void operator()(IUnknown* object) const noexcept { object->Release(); }
};
template <class T>
using Owned = std::unique_ptr<T, ReleaseInterface>;

class DirectInputMouse final : public MouseDevice {
 public:
  DirectInputMouse(Owned<IDirectInput8W> direct_input, Owned<IDirectInputDevice8W> device)
      : direct_input_(std::move(direct_input)), device_(std::move(device)) {}

  bool acquire() override { return SUCCEEDED(device_->Acquire()); }
  void unacquire() override {
    // A released device reads nothing, whatever it had handed over before.
    next_ = taken_ = 0;
    emptied_ = false;
    device_->Unacquire();
  }

  MouseReadResult read_event(MouseEvent& event) override {
    if (next_ == taken_) {
      // A read that left events in the device was full; one that was not emptied it, and what
      // arrives after it waits for the next poll, as it would have arrived after that read.
      if (emptied_) {
        emptied_ = false;
        return MouseReadResult::kEmpty;
      }
      const MouseReadResult refilled = refill();
      if (refilled != MouseReadResult::kEvent) return refilled;
    }
    const DIDEVICEOBJECTDATA& data = taken_events_[next_++];
    event.offset = data.dwOfs;
    // Axis data is a signed relative movement carried in an unsigned field.
    event.data = static_cast<int32_t>(data.dwData);
    return MouseReadResult::kEvent;
  }

 private:
  MouseReadResult refill() {
    next_ = taken_ = 0;
    DWORD count = kEventsPerRead;
    const HRESULT hr =
        device_->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), taken_events_.data(), &count, 0);
    if (hr == DIERR_INPUTLOST) return MouseReadResult::kInputLost;
    // A full buffer is reported as a success (DI_BUFFEROVERFLOW): the events kept still count.
    if (FAILED(hr)) return MouseReadResult::kFailed;
    if (count == 0) return MouseReadResult::kEmpty;
    taken_ = std::min<DWORD>(count, kEventsPerRead);
    emptied_ = taken_ < kEventsPerRead;
    return MouseReadResult::kEvent;
  }

  // Events taken from the device and not yet handed out, oldest first: [next_, taken_).
  std::array<DIDEVICEOBJECTDATA, kEventsPerRead> taken_events_{};
  DWORD next_ = 0;
  DWORD taken_ = 0;
  bool emptied_ = false;
  // The device goes before the object that made it: members are destroyed in reverse order.
  Owned<IDirectInput8W> direct_input_;
  Owned<IDirectInputDevice8W> device_;
};

}  // namespace

std::unique_ptr<MouseDevice> open_system_mouse(HWND window) {
  void* created = nullptr;
  if (FAILED(DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W,
                                &created, nullptr)) ||
      !created) {
    return nullptr;
  }
  Owned<IDirectInput8W> direct_input(static_cast<IDirectInput8W*>(created));
  IDirectInputDevice8W* created_device = nullptr;
  if (FAILED(direct_input->CreateDevice(GUID_SysMouse, &created_device, nullptr)) ||
      !created_device) {
    return nullptr;
  }
  Owned<IDirectInputDevice8W> device(created_device);
  if (FAILED(device->SetDataFormat(&c_dfDIMouse2))) return nullptr;
  if (FAILED(device->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND))) {
    return nullptr;
  }
  DIPROPDWORD buffer_size{};
  buffer_size.diph.dwSize = sizeof(DIPROPDWORD);
  buffer_size.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  buffer_size.diph.dwObj = 0;
  buffer_size.diph.dwHow = DIPH_DEVICE;
  buffer_size.dwData = kBufferedEvents;
  if (FAILED(device->SetProperty(DIPROP_BUFFERSIZE, &buffer_size.diph))) return nullptr;
  return std::make_unique<DirectInputMouse>(std::move(direct_input), std::move(device));
}

bool open_wheel(WheelInput& wheel, HWND window) {
  return wheel.open_wheel(open_system_mouse(window));
}

}  // namespace sabla
