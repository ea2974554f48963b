#include <gtest/gtest.h>
#include <windows.h>

#include "host/direct_input_win32.h"
#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace sabla {
namespace {

// A visible top-level window of our own, destroyed at the end.
class TestWindow {
 public:
  TestWindow(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, HWND parent = nullptr)
      : window_(CreateWindowExW(0, L"STATIC", L"Sabla wheel test", style, 40, 40, 300, 200, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~TestWindow() {
    if (window_) DestroyWindow(window_);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

// Whether this system hands out a DirectInput mouse at all, asked without the code under test.
bool system_offers_a_mouse() {
  IDirectInput8W* direct_input = nullptr;
  if (FAILED(DirectInput8Create(GetModuleHandleW(nullptr), 0x0800, IID_IDirectInput8W,
                                reinterpret_cast<void**>(&direct_input), nullptr)) ||
      !direct_input) {
    return false;
  }
  IDirectInputDevice8W* device = nullptr;
  const bool offered =
      SUCCEEDED(direct_input->CreateDevice(GUID_SysMouse, &device, nullptr)) && device;
  if (device) device->Release();
  direct_input->Release();
  return offered;
}

void pump_messages_for(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  } while (GetTickCount() - start < milliseconds);
}

// Turns the system wheel by each of `steps` (negative towards the user) over `window`.
UINT turn_wheel(HWND window, const std::vector<int>& steps) {
  RECT rect{};
  GetWindowRect(window, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  std::vector<INPUT> inputs(steps.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dwFlags = MOUSEEVENTF_WHEEL;
    inputs[i].mi.mouseData = static_cast<DWORD>(steps[i]);
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Polls like the idle loop until the wheel value is `marker` (at most five seconds), since the
// system delivers turns a little after they were sent. Every value other than 0 seen on the way
// lands in `seen`, the marker last.
bool poll_until(WheelInput& wheel, int32_t marker, std::vector<int32_t>& seen) {
  seen.clear();
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 5000) {
    wheel.poll_wheel();
    if (wheel.wheel_value() != 0) seen.push_back(wheel.wheel_value());
    if (wheel.wheel_value() == marker) return true;
    pump_messages_for(10);
  }
  return false;
}

bool only(const std::vector<int32_t>& seen, int32_t a, int32_t b) {
  for (int32_t value : seen) {
    if (value != a && value != b) return false;
  }
  return true;
}

// One test for everything that turns the wheel, since the system wheel is shared by all.
TEST(DirectInputWheel, OpensWhenTheSystemHasAMouseAndReadsTheLastTurn) {
  TestWindow window;
  ASSERT_NE(window.get(), nullptr);
  const bool offered = system_offers_a_mouse();
  WheelInput wheel;
  ASSERT_EQ(open_wheel(wheel, window.get()), offered);
  ASSERT_EQ(wheel.is_open(), offered);

  if (!offered) {
    // Without a mouse the plug-in simply goes without the wheel.
    wheel.acquire_wheel();
    turn_wheel(window.get(), {-120});
    pump_messages_for(200);
    wheel.poll_wheel();
    EXPECT_EQ(wheel.wheel_value(), 0);
    wheel.release_wheel();
    return;
  }

  // Opened but not yet acquired: nothing is buffered.
  ASSERT_EQ(turn_wheel(window.get(), {-120}), 1u);
  pump_messages_for(200);
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 0);

  std::vector<int32_t> seen;
  // Acquired: of several turns the last one counts, not their sum (which is 0 here).
  wheel.acquire_wheel();
  pump_messages_for(50);
  wheel.poll_wheel();  // whatever moved before this point
  ASSERT_EQ(turn_wheel(window.get(), {-120, -120, 240}), 3u);
  EXPECT_TRUE(poll_until(wheel, 240, seen));
  EXPECT_TRUE(only(seen, -120, 240));
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 0);  // read once only

  // The buffer keeps hundreds of events, so a fast spin between two idle calls is not lost.
  std::vector<int> many(899, -120);
  many.push_back(360);
  ASSERT_EQ(turn_wheel(window.get(), many), many.size());
  EXPECT_TRUE(poll_until(wheel, 360, seen));
  EXPECT_TRUE(only(seen, -120, 360));

  // Released (the pointer left the window): turns are neither buffered nor read later.
  wheel.release_wheel();
  turn_wheel(window.get(), {-240});
  pump_messages_for(300);
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 0);
  wheel.acquire_wheel();
  turn_wheel(window.get(), {480});
  EXPECT_TRUE(poll_until(wheel, 480, seen));
  EXPECT_TRUE(only(seen, 480, 480));

  // Closing stops the reading; closing again is harmless, and the wheel can be opened anew.
  wheel.close_wheel();
  EXPECT_FALSE(wheel.is_open());
  wheel.close_wheel();
  EXPECT_FALSE(wheel.is_open());
  ASSERT_TRUE(open_wheel(wheel, window.get()));
  wheel.acquire_wheel();
  turn_wheel(window.get(), {-360});
  EXPECT_TRUE(poll_until(wheel, -360, seen));
}

TEST(DirectInputWheel, WindowsThatCannotOwnTheDeviceLeaveTheWheelClosed) {
  TestWindow owner;
  ASSERT_NE(owner.get(), nullptr);
  TestWindow child(WS_CHILD, owner.get());
  ASSERT_NE(child.get(), nullptr);
  HWND gone = nullptr;
  {
    TestWindow destroyed;
    gone = destroyed.get();
  }
  for (HWND window : {child.get(), gone}) {
    WheelInput wheel;
    EXPECT_FALSE(open_wheel(wheel, window));
    EXPECT_FALSE(wheel.is_open());
    EXPECT_EQ(open_system_mouse(window), nullptr);
    wheel.acquire_wheel();
    wheel.poll_wheel();
    EXPECT_EQ(wheel.wheel_value(), 0);
    wheel.close_wheel();
    wheel.close_wheel();
  }
}

TEST(DirectInputWheel, CloseIsSafeInAnyOrderAndTheDeviceOutlivesNothing) {
  TestWindow window;
  ASSERT_NE(window.get(), nullptr);
  WheelInput wheel;
  wheel.close_wheel();  // never opened
  const bool opened = open_wheel(wheel, window.get());
  EXPECT_EQ(opened, system_offers_a_mouse());
  wheel.acquire_wheel();
  wheel.close_wheel();
  wheel.close_wheel();
  wheel.release_wheel();
  EXPECT_FALSE(wheel.is_open());

  // Opening again while open releases the first device; the destructor closes the second.
  {
    WheelInput again;
    EXPECT_EQ(open_wheel(again, window.get()), opened);
    again.acquire_wheel();
    EXPECT_EQ(open_wheel(again, window.get()), opened);
    again.acquire_wheel();
  }
  // A device opened on its own works without the wheel around it.
  std::unique_ptr<MouseDevice> device = open_system_mouse(window.get());
  ASSERT_EQ(device != nullptr, opened);
  if (device) {
    EXPECT_TRUE(device->acquire());
    MouseEvent event;
    const MouseReadResult first = device->read_event(event);
    EXPECT_TRUE(first == MouseReadResult::kEmpty || first == MouseReadResult::kEvent);
    device->unacquire();
    // Reading while released is a failure that is not lost input.
    EXPECT_EQ(device->read_event(event), MouseReadResult::kFailed);
  }
}

}  // namespace
}  // namespace sabla
