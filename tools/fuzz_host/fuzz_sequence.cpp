#include "fuzz_sequence.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace fuzz_host {

using namespace sabla;

uint64_t Random::next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

const std::vector<uint32_t>& handler_codes() {
  static const std::vector<uint32_t> codes = {
      kMessageInit,       kMessageClear,      kMessageShow,       kMessageHide,
      kMessageSetWindow,  kMessageIdle,       kMessageRenderData, kMessagePlay,
      kMessageChangeTrack, kMessageSetPosition, kMessagePause,    kMessageStop,
      kMessageUnpause,    kMessageVisualOff,  kMessageVisualOn,   kMessageUpdate,
      kMessageConfigure};
  return codes;
}

size_t named_record_size(uint32_t code) {
  switch (code) {
    case kMessageInit:  // word 6 is written back
      return offsetof(VisualInitMessage, instance) + sizeof(void*);
    case kMessageShow:
    case kMessageSetWindow:
      return sizeof(ShowMessage);
    case kMessageRenderData:
      return sizeof(RenderMessage);
    case kMessagePlay:
      return sizeof(PlayMessage);
    case kMessageChangeTrack:
      return sizeof(ChangeTrackMessage);
    case kMessageSetPosition:
      return sizeof(SetPositionMessage);
    default:
      return 0;
  }
}

namespace {

template <typename T>
const T& pick(Random& random, const std::vector<T>& from) {
  return from[random.below(static_cast<uint32_t>(from.size()))];
}

// Numbers at the edges of what a 32-bit word holds, and some ordinary ones.
uint32_t edgy_word(Random& random) {
  static const std::vector<uint32_t> edges = {0u,          1u,          0x7FFFFFFFu, 0x80000000u,
                                              0xFFFFFFFFu, 0xFFFFFFFEu, 0x00010000u, 1000u};
  return random.chance(50) ? pick(random, edges) : random.word();
}

WindowChoice pick_window(Random& random) {
  if (random.chance(70)) return WindowChoice::kView;
  return static_cast<WindowChoice>(random.below(7));
}

DrawingRect pick_rect(Random& random) {
  DrawingRect rect{};
  const uint32_t kind = random.below(10);
  if (kind < 6) {  // what a host gives: from the origin or a small margin, at most 1200 x 900
    rect.top = static_cast<int16_t>(random.chance(70) ? 0 : random.below(40));
    rect.left = static_cast<int16_t>(random.chance(70) ? 0 : random.below(40));
    rect.bottom = static_cast<int16_t>(rect.top + random.below(900));
    rect.right = static_cast<int16_t>(rect.left + random.below(1200));
  } else if (kind < 8) {  // empty, upside down or negative
    rect.top = static_cast<int16_t>(static_cast<int32_t>(random.below(2000)) - 1000);
    rect.left = static_cast<int16_t>(static_cast<int32_t>(random.below(2000)) - 1000);
    rect.bottom = static_cast<int16_t>(rect.top - static_cast<int32_t>(random.below(500)));
    rect.right = static_cast<int16_t>(rect.left - static_cast<int32_t>(random.below(500)));
  } else {  // anything at all, up to 32767 x 32767 and beyond the sign
    rect.top = static_cast<int16_t>(random.word());
    rect.left = static_cast<int16_t>(random.word());
    rect.bottom = static_cast<int16_t>(random.word());
    rect.right = static_cast<int16_t>(random.word());
  }
  return rect;
}

PointedRecord pick_pointed(Random& random) {
  const uint32_t r = random.below(20);
  if (r < 3) return PointedRecord::kNull;
  if (r < 12) return PointedRecord::kCorrect;
  if (r < 15) return PointedRecord::kUnterminated;
  return PointedRecord::kRandom;
}

uint32_t pick_presence(Random& random) {
  const uint32_t r = random.below(10);
  if (r < 7) return 1;
  if (r < 8) return 0;
  return random.word();
}

uint32_t unknown_code(Random& random) {
  // Near misses of real codes as well as any number.
  static const std::vector<uint32_t> near = {
      four_char_code("INIT"), four_char_code("nul "), four_char_code("clr\0"),
      four_char_code("vrnD"), four_char_code("url "), four_char_code("rvis"),
      four_char_code("    "), 0u, 0xFFFFFFFFu};
  if (random.chance(50)) return pick(random, near);
  for (;;) {
    const uint32_t code = random.word();
    bool known = false;
    for (uint32_t c : handler_codes()) known = known || c == code;
    if (!known) return code;
  }
}

// Fills the message-specific fields of a handler step.
void fill_fields(Random& random, Step& step) {
  step.window = pick_window(random);
  step.random_window = random.word();
  step.rect = pick_rect(random);
  step.options = random.chance(70) ? 0 : random.word();
  const uint32_t callback = random.below(10);
  step.callback = callback < 7   ? CallbackChoice::kSession
                  : callback < 9 ? CallbackChoice::kAnyCookie
                                 : CallbackChoice::kNull;
  step.cookie = random.word();
  static const std::vector<uint8_t> majors = {4, 5, 6, 7, 8, 10, 0, 255};
  step.host_major = random.chance(80) ? pick(random, majors) : static_cast<uint8_t>(random.word());
  step.major_version = edgy_word(random);
  step.minor_version = edgy_word(random);
  step.render = random.chance(15) ? PointedRecord::kNull : PointedRecord::kRandom;
  step.time_stamp = edgy_word(random);
  step.has_track = pick_presence(random);
  step.has_stream = pick_presence(random);
  step.track = pick_pointed(random);
  step.stream = pick_pointed(random);
  step.position_ms = random.chance(60) ? random.below(400000) : edgy_word(random);
  step.instance = random.chance(80)   ? InstanceChoice::kLast
                  : random.chance(50) ? InstanceChoice::kNull
                                      : InstanceChoice::kRandom;
  step.random_instance = random.word();
}

Step handler_step(Random& random, uint32_t code) {
  Step step;
  step.kind = StepKind::kHandler;
  step.code = code;
  step.fill_seed = random.next();
  fill_fields(random, step);
  const uint32_t shape = random.below(20);
  if (shape < 13) {
    step.shape = RecordShape::kFull;
  } else if (shape < 15) {
    step.shape = RecordShape::kNull;
  } else if (shape < 18) {
    step.shape = RecordShape::kShort;
  } else {
    step.shape = RecordShape::kFull;
    step.random_fill = true;
  }
  // A pointer to nothing is a correct record only for messages that name no words.
  if (step.shape == RecordShape::kShort && named_record_size(code) == 0) {
    step.shape = RecordShape::kNothing;
  }
  return step;
}

// The start a host makes: register, init, show with a sane rectangle.
Step opening_step(Random& random, StepKind kind, uint32_t code) {
  Step step = handler_step(random, code);
  step.kind = kind;
  step.shape = RecordShape::kFull;
  step.random_fill = false;
  step.window = WindowChoice::kView;
  step.callback = CallbackChoice::kSession;
  step.instance = InstanceChoice::kLast;
  step.rect = {0, 0, static_cast<int16_t>(100 + random.below(600)),
               static_cast<int16_t>(100 + random.below(900))};
  return step;
}

struct Weighted {
  uint32_t code;
  uint32_t weight;
};

}  // namespace

Sequence make_sequence(uint64_t seed) {
  Random random(seed);
  Sequence sequence;
  sequence.seed = seed;
  sequence.player = random.chance(65);
  auto& steps = sequence.steps;
  if (random.chance(90)) steps.push_back(opening_step(random, StepKind::kEntry, kMessageInit));
  if (random.chance(85)) steps.push_back(opening_step(random, StepKind::kHandler, kMessageInit));
  if (random.chance(75)) steps.push_back(opening_step(random, StepKind::kHandler, kMessageShow));

  // Idle calls dominate, as they do in a host.
  static const std::array<Weighted, 17> kWeights = {{{kMessageIdle, 30},
                                                     {kMessageRenderData, 10},
                                                     {kMessagePlay, 8},
                                                     {kMessageChangeTrack, 6},
                                                     {kMessageSetPosition, 6},
                                                     {kMessagePause, 3},
                                                     {kMessageStop, 3},
                                                     {kMessageUnpause, 3},
                                                     {kMessageSetWindow, 5},
                                                     {kMessageShow, 3},
                                                     {kMessageHide, 3},
                                                     {kMessageInit, 2},
                                                     {kMessageClear, 2},
                                                     {kMessageConfigure, 2},
                                                     {kMessageVisualOff, 1},
                                                     {kMessageVisualOn, 1},
                                                     {kMessageUpdate, 1}}};
  uint32_t total = 0;
  for (const Weighted& w : kWeights) total += w.weight;
  constexpr uint32_t kUnknown = 4, kEntry = 3, kPump = 5, kWait = 2;
  total += kUnknown + kEntry + kPump + kWait;

  const uint32_t count = 1 + random.below(40);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t r = random.below(total);
    bool done = false;
    for (const Weighted& w : kWeights) {
      if (r < w.weight) {
        steps.push_back(handler_step(random, w.code));
        done = true;
        break;
      }
      r -= w.weight;
    }
    if (done) continue;
    if (r < kUnknown) {
      steps.push_back(handler_step(random, unknown_code(random)));
    } else if ((r -= kUnknown) < kEntry) {
      static const std::vector<uint32_t> entry_codes = {kMessageInit, kMessageClear,
                                                        four_char_code("show"), 0xDEADBEEFu};
      Step step = handler_step(random, pick(random, entry_codes));
      step.kind = StepKind::kEntry;
      steps.push_back(step);
    } else if ((r -= kEntry) < kPump) {
      Step step;
      step.kind = StepKind::kPump;
      steps.push_back(step);
    } else {
      Step step;
      step.kind = StepKind::kWait;
      step.wait_ms = 1 + random.below(60);
      steps.push_back(step);
    }
  }
  return sequence;
}

namespace {

template <typename T>
void put(std::vector<uint8_t>& bytes, size_t offset, const T& value) {
  if (offset + sizeof value <= bytes.size()) std::memcpy(bytes.data() + offset, &value, sizeof value);
}

void random_bytes(uint64_t seed, void* target, size_t size) {
  Random random(seed);
  auto* out = static_cast<uint8_t*>(target);
  for (size_t i = 0; i < size; ++i) out[i] = static_cast<uint8_t>(random.next() >> 56);
}

void set_text(HostText& field, std::u16string_view text) {
  std::memset(&field, 0, sizeof field);
  const size_t n = text.size() < kHostTextMaxLength ? text.size() : kHostTextMaxLength;
  field.length = static_cast<char16_t>(n);
  std::memcpy(field.text, text.data(), n * sizeof(char16_t));
}

// A text that fills its field to the end, no terminator anywhere.
void fill_text(HostText& field, Random& random) {
  field.length = static_cast<char16_t>(random.word());
  for (char16_t& c : field.text) c = static_cast<char16_t>(1 + random.below(0xFFFE));
}

}  // namespace

std::vector<uint8_t> message_bytes(const Step& step, const Addresses& a) {
  if (step.shape == RecordShape::kNull || step.shape == RecordShape::kNothing) return {};
  std::vector<uint8_t> bytes(step.shape == RecordShape::kShort ? named_record_size(step.code)
                                                               : kFullRecordSize);
  if (step.random_fill) random_bytes(step.fill_seed, bytes.data(), bytes.size());
  switch (step.code) {
    case kMessageInit:
      put(bytes, offsetof(VisualInitMessage, major_version), step.major_version);
      put(bytes, offsetof(VisualInitMessage, minor_version), step.minor_version);
      put(bytes, offsetof(VisualInitMessage, host_major_version), step.host_major);
      put(bytes, offsetof(VisualInitMessage, host_cookie), a.cookie);
      put(bytes, offsetof(VisualInitMessage, host_callback), a.callback);
      put(bytes, offsetof(VisualInitMessage, instance), static_cast<void*>(nullptr));
      break;
    case kMessageShow:
    case kMessageSetWindow:
      put(bytes, offsetof(ShowMessage, window), a.window);
      put(bytes, offsetof(ShowMessage, rect), step.rect);
      put(bytes, offsetof(ShowMessage, options), step.options);
      break;
    case kMessageRenderData:
      put(bytes, offsetof(RenderMessage, data), a.render);
      put(bytes, offsetof(RenderMessage, time_stamp), step.time_stamp);
      break;
    case kMessagePlay:
      put(bytes, offsetof(PlayMessage, has_track), step.has_track);
      put(bytes, offsetof(PlayMessage, has_stream), step.has_stream);
      put(bytes, offsetof(PlayMessage, track), a.track);
      put(bytes, offsetof(PlayMessage, stream), a.stream);
      break;
    case kMessageChangeTrack:
      put(bytes, offsetof(ChangeTrackMessage, has_track), step.has_track);
      put(bytes, offsetof(ChangeTrackMessage, has_stream), step.has_stream);
      put(bytes, offsetof(ChangeTrackMessage, track), a.track);
      put(bytes, offsetof(ChangeTrackMessage, stream), a.stream);
      break;
    case kMessageSetPosition:
      put(bytes, offsetof(SetPositionMessage, position_ms), step.position_ms);
      break;
    default:
      break;
  }
  return bytes;
}

std::vector<uint8_t> entry_bytes(const Step& step, const Addresses& a) {
  if (step.shape == RecordShape::kNull || step.shape == RecordShape::kNothing) return {};
  std::vector<uint8_t> bytes(step.shape == RecordShape::kShort ? sizeof(EntryInitMessage)
                                                               : kHostMessageSize);
  if (step.random_fill) random_bytes(step.fill_seed, bytes.data(), bytes.size());
  put(bytes, offsetof(EntryInitMessage, host_cookie), a.cookie);
  put(bytes, offsetof(EntryInitMessage, host_callback), a.callback);
  return bytes;
}

void fill_track(PointedRecord kind, uint64_t seed, TrackRecord& track) {
  if (kind == PointedRecord::kRandom || kind == PointedRecord::kNull) {
    random_bytes(seed, &track, sizeof track);
    return;
  }
  Random random(seed);
  std::memset(&track, 0, sizeof track);
  track.header[0] = sizeof track;
  // Few names, so a play often meets the song it already knows.
  static const std::vector<std::u16string_view> names = {u"Paper Lantern Road", u"月見の歌",
                                                         u"", u"Tsukimi"};
  set_text(track.name, pick(random, names));
  set_text(track.artist, pick(random, names));
  set_text(track.album, pick(random, names));
  set_text(track.file_name, random.chance(50) ? u"song.m4a" : u"");
  set_text(track.genre, u"Pop");
  set_text(track.kind, u"AAC audio file");
  set_text(track.composer, pick(random, names));
  track.total_time_ms = random.chance(10) ? 0 : 1000 + random.below(600000);
  track.start_time_ms = random.chance(70) ? 0 : random.below(track.total_time_ms + 1);
  track.stop_time_ms = random.chance(70) ? 0 : track.start_time_ms + random.below(60000);
  track.year = static_cast<uint16_t>(1950 + random.below(80));
  track.rating = static_cast<uint16_t>(random.below(101));
  track.track_number = random.below(20);
  track.track_count = random.below(20);
  track.disc_number = static_cast<uint16_t>(random.below(3));
  track.disc_count = static_cast<uint16_t>(random.below(3));
  track.identity_a = random.below(3);
  track.identity_b = random.below(3);
  if (kind == PointedRecord::kUnterminated) {
    HostText* texts[] = {&track.name,  &track.file_name, &track.artist,         &track.album,
                         &track.genre, &track.kind,      &track.equalizer_name, &track.comments,
                         &track.composer};
    for (HostText* text : texts) {
      if (random.chance(50)) fill_text(*text, random);
    }
  }
}

void fill_stream(PointedRecord kind, uint64_t seed, StreamRecord& stream) {
  if (kind == PointedRecord::kRandom || kind == PointedRecord::kNull) {
    random_bytes(seed, &stream, sizeof stream);
    return;
  }
  Random random(seed);
  std::memset(&stream, 0, sizeof stream);
  stream.header = sizeof stream;
  if (kind == PointedRecord::kUnterminated) {
    fill_text(stream.title, random);
    fill_text(stream.url, random);
    fill_text(stream.message, random);
  }
}

void fill_render(PointedRecord, uint64_t seed, RenderData& data) {
  // Every byte value is a possible sample, so random bytes are a correct record.
  random_bytes(seed, &data, sizeof data);
}

namespace {

std::string code_text(uint32_t code) {
  char text[16];
  bool printable = true;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const unsigned c = (code >> shift) & 0xFF;
    printable = printable && c >= 0x20 && c < 0x7F && c != '\'';
  }
  if (printable) {
    std::snprintf(text, sizeof text, "'%c%c%c%c'", static_cast<char>(code >> 24),
                  static_cast<char>(code >> 16), static_cast<char>(code >> 8),
                  static_cast<char>(code));
  } else {
    std::snprintf(text, sizeof text, "0x%08X", code);
  }
  return text;
}

const char* shape_text(RecordShape shape) {
  switch (shape) {
    case RecordShape::kNull: return "null";
    case RecordShape::kFull: return "full";
    case RecordShape::kShort: return "short";
    case RecordShape::kNothing: return "nothing";
  }
  return "?";
}

const char* pointed_text(PointedRecord kind) {
  switch (kind) {
    case PointedRecord::kNull: return "null";
    case PointedRecord::kCorrect: return "correct";
    case PointedRecord::kUnterminated: return "unterminated";
    case PointedRecord::kRandom: return "random";
  }
  return "?";
}

std::string window_text(const Step& step) {
  static const char* names[] = {"view", "frame", "null", "random", "destroyed", "gdi-object",
                                "desktop"};
  std::string text = names[static_cast<int>(step.window)];
  if (step.window == WindowChoice::kRandom) {
    char number[16];
    std::snprintf(number, sizeof number, "(0x%08X)", step.random_window);
    text += number;
  }
  return text;
}

}  // namespace

std::string describe(const Step& step) {
  char text[256];
  switch (step.kind) {
    case StepKind::kPump:
      return "pump";
    case StepKind::kWait:
      std::snprintf(text, sizeof text, "wait %u ms", step.wait_ms);
      return text;
    case StepKind::kHandler:
    case StepKind::kEntry:
      break;
  }
  std::string line = step.kind == StepKind::kEntry ? "entry " : "handler ";
  line += code_text(step.code);
  line += " record=";
  line += shape_text(step.shape);
  if (step.shape == RecordShape::kShort) {
    line += "(" + std::to_string(named_record_size(step.code)) + ")";
  }
  if (step.random_fill) line += "+random";
  if (step.shape == RecordShape::kNull || step.shape == RecordShape::kNothing) return line;
  switch (step.code) {
    case kMessageInit: {
      static const char* callbacks[] = {"null", "session", "any-cookie"};
      std::snprintf(text, sizeof text, " host=%u callback=%s cookie=0x%08X version=%u.%u",
                    step.host_major, callbacks[static_cast<int>(step.callback)], step.cookie,
                    step.major_version, step.minor_version);
      line += text;
      break;
    }
    case kMessageShow:
    case kMessageSetWindow:
      std::snprintf(text, sizeof text, " window=%s rect=t%d,l%d,b%d,r%d options=0x%X",
                    window_text(step).c_str(), step.rect.top, step.rect.left, step.rect.bottom,
                    step.rect.right, step.options);
      line += text;
      break;
    case kMessageRenderData:
      std::snprintf(text, sizeof text, " data=%s stamp=%u", pointed_text(step.render),
                    step.time_stamp);
      line += text;
      break;
    case kMessagePlay:
    case kMessageChangeTrack:
      std::snprintf(text, sizeof text, " has_track=%u track=%s has_stream=%u stream=%s",
                    step.has_track, pointed_text(step.track), step.has_stream,
                    pointed_text(step.stream));
      line += text;
      break;
    case kMessageSetPosition:
      std::snprintf(text, sizeof text, " position=%u (%d)", step.position_ms,
                    static_cast<int32_t>(step.position_ms));
      line += text;
      break;
    default:
      break;
  }
  if (step.kind == StepKind::kHandler && step.instance != InstanceChoice::kLast) {
    line += step.instance == InstanceChoice::kNull ? " instance=null" : " instance=random";
  }
  return line;
}

std::string describe(const Sequence& sequence) {
  std::string text = "sequence " + std::to_string(sequence.seed) +
                     (sequence.player ? " (player present)" : " (no player)") + "\n";
  for (size_t i = 0; i < sequence.steps.size(); ++i) {
    text += "  " + std::to_string(i) + ": " + describe(sequence.steps[i]) + "\n";
  }
  text += "  then: handler 'hide', handler 'clr '\n";
  return text;
}

}  // namespace fuzz_host
