#include "fuzz_sequence.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace fuzz_host {
namespace {

using namespace sabla;

TEST(FuzzSequence, SameSeedGivesTheSameSequence) {
  for (uint64_t seed : {1ull, 2ull, 977ull, 0xFFFFFFFFFFFFull}) {
    EXPECT_EQ(describe(make_sequence(seed)), describe(make_sequence(seed)));
  }
  EXPECT_NE(describe(make_sequence(1)), describe(make_sequence(2)));
}

TEST(FuzzSequence, ManySeedsReachEveryCodeShapeAndWindow) {
  std::set<uint32_t> codes;
  std::set<RecordShape> shapes;
  std::set<WindowChoice> windows;
  std::set<PointedRecord> tracks;
  std::set<StepKind> kinds;
  bool unknown = false, with_player = false, without_player = false, random_fill = false;
  for (uint64_t seed = 1; seed <= 3000; ++seed) {
    const Sequence sequence = make_sequence(seed);
    (sequence.player ? with_player : without_player) = true;
    for (const Step& step : sequence.steps) {
      kinds.insert(step.kind);
      if (step.kind != StepKind::kHandler) continue;
      codes.insert(step.code);
      shapes.insert(step.shape);
      random_fill = random_fill || step.random_fill;
      if (step.code == kMessageShow || step.code == kMessageSetWindow) windows.insert(step.window);
      if (step.code == kMessagePlay || step.code == kMessageChangeTrack) tracks.insert(step.track);
      bool known = false;
      for (uint32_t code : handler_codes()) known = known || code == step.code;
      unknown = unknown || !known;
    }
  }
  for (uint32_t code : handler_codes()) EXPECT_TRUE(codes.count(code)) << code;
  EXPECT_TRUE(unknown);
  EXPECT_EQ(shapes.size(), 4u);
  EXPECT_EQ(windows.size(), 7u);
  EXPECT_EQ(tracks.size(), 4u);
  EXPECT_EQ(kinds.size(), 4u);
  EXPECT_TRUE(with_player && without_player && random_fill);
}

TEST(FuzzSequence, ShortRecordsHoldExactlyTheNamedWords) {
#if UINTPTR_MAX == 0xFFFFFFFFu
  // The host's own 32-bit record: every field one word.
  EXPECT_EQ(named_record_size(kMessageInit), 28u);
  EXPECT_EQ(named_record_size(kMessageShow), 16u);
  EXPECT_EQ(named_record_size(kMessageSetWindow), 16u);
  EXPECT_EQ(named_record_size(kMessageRenderData), 8u);
  EXPECT_EQ(named_record_size(kMessagePlay), 52u);
  EXPECT_EQ(named_record_size(kMessageChangeTrack), 16u);
#endif
  EXPECT_EQ(named_record_size(kMessageSetPosition), 4u);
  EXPECT_EQ(named_record_size(kMessageIdle), 0u);
  EXPECT_EQ(named_record_size(kMessageClear), 0u);
  EXPECT_EQ(named_record_size(0x12345678u), 0u);

  Step step;
  step.code = kMessageShow;
  step.shape = RecordShape::kShort;
  EXPECT_EQ(message_bytes(step, {}).size(), named_record_size(kMessageShow));
  step.shape = RecordShape::kFull;
  EXPECT_EQ(message_bytes(step, {}).size(), kFullRecordSize);
  step.shape = RecordShape::kNull;
  EXPECT_TRUE(message_bytes(step, {}).empty());
  step.shape = RecordShape::kNothing;
  EXPECT_TRUE(message_bytes(step, {}).empty());
}

TEST(FuzzSequence, MessageFieldsLandWhereTheHandlerReadsThem) {
  int window = 0, track = 0, stream = 0;
  Addresses addresses;
  addresses.window = &window;
  addresses.track = &track;
  addresses.stream = &stream;

  Step show;
  show.code = kMessageShow;
  show.rect = {-3, 4, 300, 32767};
  show.options = 0xABCD;
  show.random_fill = true;
  show.fill_seed = 42;
  const std::vector<uint8_t> bytes = message_bytes(show, addresses);
  ShowMessage read;
  std::memcpy(&read, bytes.data(), sizeof read);
  EXPECT_EQ(read.window, &window);
  EXPECT_EQ(read.rect.top, -3);
  EXPECT_EQ(read.rect.right, 32767);
  EXPECT_EQ(read.options, 0xABCDu);
  // The random bytes around the fields come from the seed alone.
  EXPECT_EQ(bytes, message_bytes(show, addresses));

  Step play;
  play.code = kMessagePlay;
  play.shape = RecordShape::kShort;
  play.has_track = 1;
  play.has_stream = 0xFFFFFFFF;
  const std::vector<uint8_t> play_bytes = message_bytes(play, addresses);
  ASSERT_EQ(play_bytes.size(), sizeof(PlayMessage));
  PlayMessage play_read;
  std::memcpy(&play_read, play_bytes.data(), sizeof play_read);
  EXPECT_EQ(play_read.has_track, 1u);
  EXPECT_EQ(play_read.has_stream, 0xFFFFFFFFu);
  EXPECT_EQ(play_read.track, reinterpret_cast<const TrackRecord*>(&track));
  EXPECT_EQ(play_read.stream, reinterpret_cast<const StreamRecord*>(&stream));

  Step position;
  position.code = kMessageSetPosition;
  position.position_ms = 0x80000000u;
  position.shape = RecordShape::kShort;
  const std::vector<uint8_t> position_bytes = message_bytes(position, addresses);
  ASSERT_EQ(position_bytes.size(), 4u);
  uint32_t value = 0;
  std::memcpy(&value, position_bytes.data(), 4);
  EXPECT_EQ(value, 0x80000000u);
}

TEST(FuzzSequence, InitRecordsCarryTheCallbackAndLeaveTheInstanceWordEmpty) {
  Addresses addresses;
  int cookie = 0;
  addresses.cookie = &cookie;
  addresses.callback = reinterpret_cast<HostCallback>(0x1234);
  Step init;
  init.code = kMessageInit;
  init.host_major = 7;
  init.random_fill = true;
  init.fill_seed = 9;
  const std::vector<uint8_t> bytes = message_bytes(init, addresses);
  VisualInitMessage read;
  std::memcpy(&read, bytes.data(), sizeof read);
  EXPECT_EQ(read.host_major_version, 7);
  EXPECT_EQ(read.host_cookie, &cookie);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(read.host_callback), 0x1234u);
  EXPECT_EQ(read.instance, nullptr);

  init.kind = StepKind::kEntry;
  init.shape = RecordShape::kShort;
  const std::vector<uint8_t> entry = entry_bytes(init, addresses);
  ASSERT_EQ(entry.size(), sizeof(EntryInitMessage));
  EntryInitMessage entry_read;
  std::memcpy(&entry_read, entry.data(), sizeof entry_read);
  EXPECT_EQ(entry_read.host_cookie, &cookie);
  init.shape = RecordShape::kFull;
  EXPECT_EQ(entry_bytes(init, addresses).size(), kHostMessageSize);
}

TEST(FuzzSequence, TrackRecordsAreCorrectOrUnterminatedOrRandom) {
  TrackRecord track;
  fill_track(PointedRecord::kCorrect, 5, track);
  EXPECT_EQ(track.header[0], sizeof track);
  EXPECT_LT(host_text(track.name).size(), kHostTextMaxLength);
  EXPECT_TRUE(track.stop_time_ms == 0 || track.stop_time_ms >= track.start_time_ms);

  // Over a few seeds some text fills its whole field without a terminator.
  bool unterminated = false;
  for (uint64_t seed = 0; seed < 10 && !unterminated; ++seed) {
    fill_track(PointedRecord::kUnterminated, seed, track);
    for (const HostText* text : {&track.name, &track.artist, &track.album, &track.composer}) {
      unterminated = unterminated || host_text(*text).size() == kHostTextMaxLength;
    }
  }
  EXPECT_TRUE(unterminated);

  TrackRecord a, b;
  fill_track(PointedRecord::kRandom, 77, a);
  fill_track(PointedRecord::kRandom, 77, b);
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

TEST(FuzzSequence, DescriptionNamesEveryStep) {
  const Sequence sequence = make_sequence(123);
  const std::string text = describe(sequence);
  EXPECT_NE(text.find("sequence 123"), std::string::npos);
  EXPECT_NE(text.find("  " + std::to_string(sequence.steps.size() - 1) + ": "), std::string::npos);
  EXPECT_NE(text.find("then: handler 'hide', handler 'clr '"), std::string::npos);

  Step step;
  step.code = 0x01020304u;
  step.shape = RecordShape::kNothing;
  EXPECT_EQ(describe(step), "handler 0x01020304 record=nothing");
  step.code = kMessageSetPosition;
  step.shape = RecordShape::kShort;
  step.position_ms = 0xFFFFFFFFu;
  EXPECT_EQ(describe(step), "handler 'setp' record=short(4) position=4294967295 (-1)");
}

}  // namespace
}  // namespace fuzz_host
