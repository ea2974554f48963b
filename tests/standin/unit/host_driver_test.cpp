#include "host_driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace standin {
namespace {

struct Heard {
  std::string code;
  std::u16string title;      // vply, ctrk
  std::u16string file_name;  // vply, ctrk
  uint32_t number = 0;       // setp position, vrnd waveform channels
};
std::vector<Heard> heard;

int32_t handler(uint32_t message, void* record, void*) {
  Heard h;
  for (int shift = 24; shift >= 0; shift -= 8) h.code += static_cast<char>(message >> shift);
  const auto& m = *static_cast<const sabla::VisualMessage*>(record);
  if (h.code == "vply" || h.code == "ctrk") {
    const sabla::TrackRecord* track = h.code == "vply" ? m.play.track : m.change_track.track;
    h.title = sabla::host_text(track->name);
    h.file_name = sabla::host_text(track->file_name);
  }
  if (h.code == "setp") h.number = m.set_position.position_ms;
  if (h.code == "vrnd") h.number = m.render.data->waveform_channels;
  heard.push_back(h);
  return 0;
}

std::vector<std::string> codes() {
  std::vector<std::string> out;
  for (const Heard& h : heard) out.push_back(h.code);
  return out;
}

PlaylistTrack track(const std::string& title, uint32_t length) {
  PlaylistTrack t;
  t.title = title;
  t.length_ms = length;
  return t;
}

class HostDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    heard.clear();
    host.init(7, nullptr, nullptr);
    heard.clear();
  }
  HostDriver make(PluginRequests requests = {}) {
    return HostDriver(host, model, {"C:\\Music\\one.m4a", "http://radio.example/two"}, requests);
  }
  void show() {
    int window = 0;
    host.show(&window, {0, 0, 100, 100});
    heard.clear();
  }

  uint64_t now = 5000;
  PlayerModel model{{track("one", 60000), track("two", 60000)}, [this] { return now; }};
  VisualHost host{&handler, [](std::string_view) {}};
};

TEST_F(HostDriverTest, PlayerEventsBecomeVisualMessagesInOrder) {
  HostDriver driver = make();
  model.play();
  model.seek(83000);
  model.pause();
  model.resume();
  model.next();
  model.stop();
  driver.deliver_events();
  EXPECT_EQ(codes(), (std::vector<std::string>{"vply", "setp", "vpau", "vunp", "ctrk", "vstp"}));
  EXPECT_EQ(heard[0].title, u"one");
  EXPECT_EQ(heard[0].file_name, u"one.m4a");
  EXPECT_EQ(heard[1].number, 60000u);  // the seek stops at the track's end
  EXPECT_EQ(heard[4].title, u"two");
  EXPECT_EQ(heard[4].file_name, u"");  // a stream has no file name
  heard.clear();
  driver.deliver_events();
  EXPECT_TRUE(heard.empty());
}

TEST_F(HostDriverTest, IdleTimeOnlyWhileShownAtTheRegisteredPace) {
  PluginRequests requests;
  requests.idle_interval_ms = 40;
  HostDriver driver = make(requests);
  EXPECT_EQ(driver.idle(now), now + 40);
  EXPECT_TRUE(heard.empty());  // not shown

  show();
  now += 40;
  driver.idle(now);
  EXPECT_EQ(codes(), (std::vector<std::string>{"null"}));  // stopped: no render data
  heard.clear();
  model.play();
  driver.deliver_events();
  heard.clear();
  now += 39;
  EXPECT_EQ(driver.idle(now), now + 1);
  EXPECT_TRUE(heard.empty());
  now += 1;
  EXPECT_EQ(driver.idle(now), now + 40);
  EXPECT_EQ(codes(), (std::vector<std::string>{"vrnd", "null"}));
  EXPECT_EQ(heard[0].number, 2u);
  // Late: the next one is a whole interval after this one, never sooner.
  now += 100;
  EXPECT_EQ(driver.idle(now), now + 40);
}

TEST_F(HostDriverTest, OnlyWhatTheRegistrationAskedFor) {
  Registration registration;
  registration.time_between_data_ms = 0;
  registration.options = 0x20;
  registration.waveform_channels = 1;
  registration.spectrum_channels = 0;
  PluginRequests requests = requests_of(registration);
  EXPECT_EQ(requests.idle_interval_ms, kMinIdleIntervalMs);
  EXPECT_FALSE(requests.wants_idle);
  EXPECT_TRUE(requests.wants_configure);
  registration.time_between_data_ms = 100000;
  registration.options = 0x08;
  EXPECT_EQ(requests_of(registration).idle_interval_ms, kMaxIdleIntervalMs);
  EXPECT_TRUE(requests_of(registration).wants_idle);
  EXPECT_FALSE(requests_of(registration).wants_configure);

  HostDriver driver = make(requests);
  show();
  model.play();
  driver.deliver_events();
  heard.clear();
  driver.idle(now);
  EXPECT_EQ(codes(), (std::vector<std::string>{"vrnd"}));
  EXPECT_EQ(heard[0].number, 1u);

  requests.waveform_channels = 0;
  HostDriver silent = make(requests);
  heard.clear();
  silent.idle(now);
  EXPECT_TRUE(heard.empty());
}

}  // namespace
}  // namespace standin
