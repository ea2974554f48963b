#include "state/wheel_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace sabla {
namespace {

constexpr uint32_t kWheel = WheelInput::kWheelAxisOffset;
constexpr uint32_t kAxisX = 0;
constexpr uint32_t kAxisY = 4;
constexpr uint32_t kLeftButton = 12;

struct Step {
  MouseReadResult result;
  MouseEvent event{};
};

Step event(uint32_t offset, int32_t data) { return {MouseReadResult::kEvent, {offset, data}}; }
Step lost() { return {MouseReadResult::kInputLost}; }
Step failed() { return {MouseReadResult::kFailed}; }

// What the device went through, kept apart from it so the test can look after the wheel
// dropped it.
struct DeviceLog {
  std::vector<char> calls;  // 'a' acquire, 'u' unacquire, 'r' read
  bool destroyed = false;
};

// A mouse that answers reads from a script, then reports an empty buffer; acquiring answers
// from its own script, then succeeds.
class ScriptedMouse final : public MouseDevice {
 public:
  ScriptedMouse(DeviceLog& log, std::vector<Step> reads, std::vector<bool> acquires = {})
      : log_(log),
        reads_(reads.begin(), reads.end()),
        acquires_(acquires.begin(), acquires.end()) {}
  ~ScriptedMouse() override { log_.destroyed = true; }

  bool acquire() override {
    log_.calls.push_back('a');
    if (acquires_.empty()) return true;
    const bool ok = acquires_.front();
    acquires_.pop_front();
    return ok;
  }
  void unacquire() override { log_.calls.push_back('u'); }
  MouseReadResult read_event(MouseEvent& out) override {
    log_.calls.push_back('r');
    if (reads_.empty()) return MouseReadResult::kEmpty;
    const Step step = reads_.front();
    reads_.pop_front();
    if (step.result == MouseReadResult::kEvent) out = step.event;
    return step.result;
  }

 private:
  DeviceLog& log_;
  std::deque<Step> reads_;
  std::deque<bool> acquires_;
};

// Input lost forever, however often the device is acquired again.
class AlwaysLostMouse final : public MouseDevice {
 public:
  explicit AlwaysLostMouse(DeviceLog& log) : log_(log) {}
  bool acquire() override {
    log_.calls.push_back('a');
    return true;
  }
  void unacquire() override { log_.calls.push_back('u'); }
  MouseReadResult read_event(MouseEvent&) override {
    log_.calls.push_back('r');
    return MouseReadResult::kInputLost;
  }

 private:
  DeviceLog& log_;
};

// Events that never stop coming.
class EndlessMouse final : public MouseDevice {
 public:
  bool acquire() override { return true; }
  void unacquire() override {}
  MouseReadResult read_event(MouseEvent& out) override {
    out = {kWheel, ++reads};
    return MouseReadResult::kEvent;
  }
  int32_t reads = 0;
};

std::vector<char> calls(std::string_view text) { return {text.begin(), text.end()}; }

TEST(WheelInput, LastWheelEventOfThePollWins) {
  DeviceLog log;
  WheelInput wheel;
  ASSERT_TRUE(wheel.open_wheel(std::make_unique<ScriptedMouse>(
      log, std::vector<Step>{event(kWheel, -120), event(kAxisX, 5), event(kWheel, -120),
                             event(kAxisY, -3), event(kLeftButton, 0x80)})));
  wheel.poll_wheel();
  // Two notches towards the user give one step's worth, not the sum; movements of the other
  // axes and buttons after the wheel do not disturb it.
  EXPECT_EQ(wheel.wheel_value(), -120);
  EXPECT_EQ(log.calls, calls("rrrrrr"));  // every event, then the empty read

  // The next poll starts from nothing.
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 0);
}

TEST(WheelInput, DirectionChangesWithinAPollKeepTheLastOne) {
  DeviceLog log;
  WheelInput wheel;
  wheel.open_wheel(std::make_unique<ScriptedMouse>(
      log, std::vector<Step>{event(kWheel, -240), event(kWheel, 120), event(kAxisX, 1)}));
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 120);
}

TEST(WheelInput, OnlyOtherAxesGiveNoWheelValue) {
  DeviceLog log;
  WheelInput wheel;
  wheel.open_wheel(std::make_unique<ScriptedMouse>(
      log, std::vector<Step>{event(kAxisX, 8), event(kAxisY, 120), event(kLeftButton, 0x80),
                             event(kWheel + 1, 120)}));
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 0);
}

TEST(WheelInput, LostInputIsAcquiredAgainAndReadingGoesOn) {
  DeviceLog log;
  WheelInput wheel;
  wheel.open_wheel(std::make_unique<ScriptedMouse>(
      log, std::vector<Step>{event(kWheel, 120), lost(), event(kWheel, -120), lost(), lost()}));
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), -120);
  EXPECT_EQ(log.calls, calls("rrarrarar"));
}

TEST(WheelInput, OtherFailuresStopTheReadWithoutAcquiring) {
  DeviceLog log;
  WheelInput wheel;
  // Reading while released (the pointer is outside the window) fails this way: the wheel must
  // stay released, so it is not acquired behind the focus rule's back.
  wheel.open_wheel(std::make_unique<ScriptedMouse>(
      log, std::vector<Step>{event(kWheel, 120), failed(), event(kWheel, -120)}));
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 120);
  EXPECT_EQ(log.calls, calls("rr"));
}

TEST(WheelInput, ADeviceThatCannotBeWonBackEndsThePoll) {
  DeviceLog log;
  WheelInput wheel;
  wheel.open_wheel(std::make_unique<ScriptedMouse>(
      log, std::vector<Step>{event(kWheel, 120), lost(), event(kWheel, -120)},
      std::vector<bool>{false}));
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 120);
  EXPECT_EQ(log.calls, calls("rra"));

  // The next poll reads what is left.
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), -120);
}

TEST(WheelInput, AMisbehavingDeviceNeverHoldsUpThePoll) {
  DeviceLog log;
  WheelInput wheel;
  wheel.open_wheel(std::make_unique<AlwaysLostMouse>(log));
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 0);
  const auto acquires = std::count(log.calls.begin(), log.calls.end(), 'a');
  EXPECT_EQ(acquires, WheelInput::kMaxReacquiresPerPoll);
  EXPECT_EQ(log.calls.size(), 2u * WheelInput::kMaxReacquiresPerPoll + 1);

  auto endless = std::make_unique<EndlessMouse>();
  EndlessMouse* device = endless.get();
  wheel.open_wheel(std::move(endless));
  wheel.poll_wheel();
  EXPECT_EQ(device->reads, WheelInput::kMaxReadsPerPoll);
  EXPECT_EQ(wheel.wheel_value(), WheelInput::kMaxReadsPerPoll);
}

TEST(WheelInput, ClosedWheelReadsNothingAndIgnoresFocus) {
  WheelInput wheel;
  EXPECT_FALSE(wheel.is_open());
  EXPECT_FALSE(wheel.open_wheel(nullptr));  // the system mouse could not be set up
  EXPECT_FALSE(wheel.is_open());
  wheel.acquire_wheel();
  wheel.release_wheel();
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 0);
  wheel.close_wheel();
  EXPECT_FALSE(wheel.is_open());
}

TEST(WheelInput, FocusAndCloseReachTheDeviceOnlyWhileOpen) {
  DeviceLog log;
  WheelInput wheel;
  ASSERT_TRUE(wheel.open_wheel(
      std::make_unique<ScriptedMouse>(log, std::vector<Step>{event(kWheel, -120)})));
  EXPECT_TRUE(wheel.is_open());
  wheel.acquire_wheel();
  wheel.release_wheel();
  wheel.acquire_wheel();
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), -120);
  EXPECT_EQ(log.calls, calls("auarr"));

  log.calls.clear();
  wheel.close_wheel();
  EXPECT_FALSE(wheel.is_open());
  EXPECT_EQ(wheel.wheel_value(), 0);
  EXPECT_EQ(log.calls, calls("u"));  // unacquired before it is let go
  EXPECT_TRUE(log.destroyed);

  wheel.close_wheel();
  wheel.acquire_wheel();
  wheel.poll_wheel();
  EXPECT_EQ(log.calls, calls("u"));
}

TEST(WheelInput, OpeningAgainLetsTheOldDeviceGo) {
  DeviceLog first_log, second_log;
  WheelInput wheel;
  wheel.open_wheel(std::make_unique<ScriptedMouse>(first_log, std::vector<Step>{}));
  wheel.open_wheel(
      std::make_unique<ScriptedMouse>(second_log, std::vector<Step>{event(kWheel, 240)}));
  EXPECT_TRUE(first_log.destroyed);
  EXPECT_EQ(first_log.calls, calls("u"));
  wheel.poll_wheel();
  EXPECT_EQ(wheel.wheel_value(), 240);

  // A failed reopen leaves the wheel closed, not holding the old device.
  EXPECT_FALSE(wheel.open_wheel(nullptr));
  EXPECT_TRUE(second_log.destroyed);
  EXPECT_FALSE(wheel.is_open());
}

TEST(WheelInput, DestroyingTheWheelReleasesTheDevice) {
  DeviceLog log;
  {
    WheelInput wheel;
    wheel.open_wheel(std::make_unique<ScriptedMouse>(log, std::vector<Step>{}));
    wheel.acquire_wheel();
  }
  EXPECT_EQ(log.calls, calls("au"));
  EXPECT_TRUE(log.destroyed);
}

}  // namespace
}  // namespace sabla
