#pragma once
// Random host conversations for the plug-in, made from a seed alone: the same seed always gives
// the same steps, whatever the plug-in answered, so a seed is enough to replay or print one.
// Portable, so the generator and the record layouts are checked without Wine.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "state/host_records.h"

namespace fuzz_host {

// splitmix64: fixed output on every compiler, unlike the standard distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next();
  uint32_t word() { return static_cast<uint32_t>(next() >> 32); }
  // 0 to n - 1; 0 when n is 0.
  uint32_t below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(next() % n); }
  bool chance(uint32_t percent) { return below(100) < percent; }

 private:
  uint64_t state_;
};

enum class StepKind : uint8_t {
  kHandler,  // a visual message to the registered handler
  kEntry,    // a message to the exported entry
  kPump,     // the host's message loop runs once over what is queued
  kWait,     // the host does nothing for a while, so timers and frame pacing come due
};

// How the message record is handed over.
enum class RecordShape : uint8_t {
  kNull,     // no record at all
  kFull,     // a whole record, ending where readable memory ends
  kShort,    // exactly the words the message names, ending where readable memory ends
  kNothing,  // a pointer to the first unreadable byte: for messages that name no words
};

// What a window word holds.
enum class WindowChoice : uint8_t {
  kView,         // the host's visualizer window
  kFrame,        // the top-level window around it
  kNull,
  kRandom,       // any number
  kDestroyed,    // a window that existed once
  kNotAWindow,   // a handle of another kind (a GDI object)
  kDesktop,
};

// What a record pointer inside a message points to.
enum class PointedRecord : uint8_t {
  kNull,
  kCorrect,  // plausible texts with terminators, times that fit together
  kUnterminated,  // correct, but its texts fill their fields without a terminator
  kRandom,        // every byte random: lengths, texts, times, counts
};

enum class CallbackChoice : uint8_t {
  kNull,
  kSession,          // the host's callback with its own cookie
  kAnyCookie,        // a callback that ignores its cookie, with a random cookie
};

enum class InstanceChoice : uint8_t { kLast, kNull, kRandom };

struct Step {
  StepKind kind = StepKind::kHandler;
  uint32_t code = 0;
  RecordShape shape = RecordShape::kFull;
  bool random_fill = false;  // the bytes the message does not name are random, not zero
  uint64_t fill_seed = 0;    // makes those bytes, and the contents of pointed records
  InstanceChoice instance = InstanceChoice::kLast;
  uint32_t random_instance = 0;

  // "show", "swin"
  WindowChoice window = WindowChoice::kView;
  uint32_t random_window = 0;
  sabla::DrawingRect rect{};
  uint32_t options = 0;
  // "init"
  CallbackChoice callback = CallbackChoice::kSession;
  uint32_t cookie = 0;
  uint8_t host_major = 7;
  uint32_t major_version = 0;
  uint32_t minor_version = 0;
  // "vrnd"
  PointedRecord render = PointedRecord::kNull;
  uint32_t time_stamp = 0;
  // "vply", "ctrk"
  uint32_t has_track = 0;
  uint32_t has_stream = 0;
  PointedRecord track = PointedRecord::kNull;
  PointedRecord stream = PointedRecord::kNull;
  // "setp"
  uint32_t position_ms = 0;
  // kWait
  uint32_t wait_ms = 0;
};

struct Sequence {
  uint64_t seed = 0;
  bool player = false;  // the player's automation server is there
  std::vector<Step> steps;
};

// Every code the handler knows, in its table's order, "init" first.
const std::vector<uint32_t>& handler_codes();

Sequence make_sequence(uint64_t seed);

// How many bytes of the message's record the handler may read: the words the message names.
size_t named_record_size(uint32_t code);
// The length of a whole record, as a host passes it.
inline constexpr size_t kFullRecordSize = sizeof(sabla::VisualMessage);

// What the executor puts into the words that hold addresses and handles.
struct Addresses {
  void* window = nullptr;
  void* cookie = nullptr;
  sabla::HostCallback callback = nullptr;
  const void* track = nullptr;
  const void* stream = nullptr;
  const void* render = nullptr;
};

// The bytes of the step's message record (empty for kNull and kNothing).
std::vector<uint8_t> message_bytes(const Step& step, const Addresses& addresses);

// The bytes of an entry step's record: the entry's own "init" layout, whatever the code.
std::vector<uint8_t> entry_bytes(const Step& step, const Addresses& addresses);

// The contents of the records a message points to.
void fill_track(PointedRecord kind, uint64_t seed, sabla::TrackRecord& track);
void fill_stream(PointedRecord kind, uint64_t seed, sabla::StreamRecord& stream);
void fill_render(PointedRecord kind, uint64_t seed, sabla::RenderData& data);

// One line for a step, for replays and crash reports.
std::string describe(const Step& step);
std::string describe(const Sequence& sequence);

}  // namespace fuzz_host
