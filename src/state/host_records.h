#pragma once
// The records of the visual messages the host sends to the plug-in's handler, and the track,
// stream and render data they point to. Shared by the plug-in, which reads them, and the
// stand-in player, which writes them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "state/host_messages.h"

namespace sabla {

// Visual messages, host to handler ("init" and "clr " are in host_messages.h).
inline constexpr uint32_t kMessageShow = four_char_code("show");
inline constexpr uint32_t kMessageHide = four_char_code("hide");
inline constexpr uint32_t kMessageSetWindow = four_char_code("swin");
inline constexpr uint32_t kMessageIdle = four_char_code("null");
inline constexpr uint32_t kMessageRenderData = four_char_code("vrnd");
inline constexpr uint32_t kMessagePlay = four_char_code("vply");
inline constexpr uint32_t kMessageChangeTrack = four_char_code("ctrk");
inline constexpr uint32_t kMessageSetPosition = four_char_code("setp");
inline constexpr uint32_t kMessagePause = four_char_code("vpau");
inline constexpr uint32_t kMessageStop = four_char_code("vstp");
inline constexpr uint32_t kMessageUnpause = four_char_code("vunp");
inline constexpr uint32_t kMessageVisualOff = four_char_code("voff");
inline constexpr uint32_t kMessageVisualOn = four_char_code("von ");
inline constexpr uint32_t kMessageUpdate = four_char_code("vupd");
inline constexpr uint32_t kMessageConfigure = four_char_code("cnfg");

inline constexpr size_t kHostTextUnits = 256;
inline constexpr size_t kHostTextMaxLength = kHostTextUnits - 1;
inline constexpr size_t kTrackRecordSize = 5728;
inline constexpr size_t kStreamRecordSize = 1540;
inline constexpr size_t kRenderChannels = 2;
inline constexpr size_t kRenderSamples = 512;
inline constexpr size_t kRenderDataSize = 2 + 2 * kRenderChannels * kRenderSamples;

// Same packing as the host's own records; see host_messages.h for what a 64-bit build changes.
#pragma pack(push, 4)

// A text of the host's records: one length unit, then up to 255 UTF-16 characters. Readers take
// the characters up to the first zero unit; a text that fills its field has no terminator.
struct HostText {
  char16_t length;
  char16_t text[kHostTextMaxLength];
};

// What the host knows about a track. The plug-in reads only the named fields; the rest of the
// record is carried along unread.
struct TrackRecord {
  uint32_t header[2];  // the host's own bookkeeping; the stand-in writes the record size first
  HostText name;
  HostText file_name;
  HostText artist;
  HostText album;
  HostText genre;
  HostText kind;
  HostText equalizer_name;
  HostText comments;
  uint32_t track_number;
  uint32_t track_count;
  uint16_t year;
  uint16_t unread_4114;
  uint32_t total_time_ms;
  uint32_t start_time_ms;
  uint32_t stop_time_ms;  // 0: the end of the track
  uint8_t unread_4128[32];
  HostText composer;
  uint16_t unread_4672;
  uint16_t rating;  // 0 to 100
  uint16_t disc_number;
  uint16_t disc_count;
  uint32_t identity_a;  // with identity_b, tells a resumed song from a new one
  uint32_t identity_b;
  uint8_t unread_4688[1040];
};

// What the host knows about a stream. Copied by the plug-in, never read; all texts are empty for
// a track played from a file.
struct StreamRecord {
  uint32_t header;  // the host's own bookkeeping; the stand-in writes the record size
  HostText title;
  HostText url;
  HostText message;
};

// One period of sound as the visualizer sees it, every byte unsigned: waveform samples centred
// on 128, spectrum magnitudes.
struct RenderData {
  uint8_t waveform_channels;
  uint8_t waveform[kRenderChannels][kRenderSamples];
  uint8_t spectrum_channels;
  uint8_t spectrum[kRenderChannels][kRenderSamples];
};

// The drawing rectangle of "show" and "swin", in the window's client coordinates.
struct DrawingRect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

// "init" to the handler.
struct VisualInitMessage {
  uint32_t major_version;
  uint32_t minor_version;
  uint8_t host_version_low[3];  // not read
  uint8_t host_major_version;   // byte 11: 4, 5, 6, 7, ...
  void* host_cookie;
  HostCallback host_callback;
  uint32_t options;  // not read
  void* instance;    // written by the handler: passed back with every later message
};

// "show" and "swin".
struct ShowMessage {
  void* window;  // the window's handle
  DrawingRect rect;
  uint32_t options;
};

// "vrnd".
struct RenderMessage {
  const RenderData* data;  // empty when the host has no render data
  uint32_t time_stamp;
};

// "vply": a play, of the track the player had or of a new one.
struct PlayMessage {
  uint32_t has_track;   // 0: no track record; the pointer below is not read
  uint32_t has_stream;  // 0: no stream record
  uint32_t unread[9];
  const TrackRecord* track;
  const StreamRecord* stream;
};

// "ctrk": the player went on to another track while playing.
struct ChangeTrackMessage {
  uint32_t has_track;
  uint32_t has_stream;
  const TrackRecord* track;
  const StreamRecord* stream;
};

// "setp": the player moved to a new position.
struct SetPositionMessage {
  uint32_t position_ms;
};

// The record the host passes with every visual message; messages without fields of their own
// get it zero-filled.
union VisualMessage {
  VisualInitMessage init;
  ShowMessage show;
  RenderMessage render;
  PlayMessage play;
  ChangeTrackMessage change_track;
  SetPositionMessage set_position;
};

#pragma pack(pop)

// Layouts that do not depend on the pointer width.
static_assert(sizeof(HostText) == 512);
static_assert(sizeof(TrackRecord) == kTrackRecordSize);
static_assert(sizeof(StreamRecord) == kStreamRecordSize);
static_assert(sizeof(RenderData) == kRenderDataSize && kRenderDataSize == 2050);
static_assert(offsetof(TrackRecord, name) + offsetof(HostText, text) == 10);
static_assert(offsetof(TrackRecord, file_name) + offsetof(HostText, text) == 522);
static_assert(offsetof(TrackRecord, artist) + offsetof(HostText, text) == 1034);
static_assert(offsetof(TrackRecord, album) + offsetof(HostText, text) == 1546);
static_assert(offsetof(TrackRecord, genre) + offsetof(HostText, text) == 2058);
static_assert(offsetof(TrackRecord, kind) + offsetof(HostText, text) == 2570);
static_assert(offsetof(TrackRecord, equalizer_name) + offsetof(HostText, text) == 3082);
static_assert(offsetof(TrackRecord, comments) + offsetof(HostText, text) == 3594);
static_assert(offsetof(TrackRecord, track_number) == 4104);
static_assert(offsetof(TrackRecord, track_count) == 4108);
static_assert(offsetof(TrackRecord, year) == 4112);
static_assert(offsetof(TrackRecord, total_time_ms) == 4116);
static_assert(offsetof(TrackRecord, start_time_ms) == 4120);
static_assert(offsetof(TrackRecord, stop_time_ms) == 4124);
static_assert(offsetof(TrackRecord, composer) + offsetof(HostText, text) == 4162);
static_assert(offsetof(TrackRecord, rating) == 4674);
static_assert(offsetof(TrackRecord, disc_number) == 4676);
static_assert(offsetof(TrackRecord, disc_count) == 4678);
static_assert(offsetof(TrackRecord, identity_a) == 4680);
static_assert(offsetof(TrackRecord, identity_b) == 4684);
static_assert(offsetof(RenderData, spectrum_channels) == 1025);
static_assert(offsetof(VisualInitMessage, host_major_version) == 11);
static_assert(offsetof(VisualInitMessage, host_cookie) == 12);
static_assert(offsetof(SetPositionMessage, position_ms) == 0);

#if UINTPTR_MAX == 0xFFFFFFFFu
// The host's own layout: every field one 32-bit word.
static_assert(offsetof(VisualInitMessage, host_callback) == 16);
static_assert(offsetof(VisualInitMessage, instance) == 24);
static_assert(offsetof(ShowMessage, rect) == 4);
static_assert(offsetof(ShowMessage, options) == 12);
static_assert(offsetof(RenderMessage, time_stamp) == 4);
static_assert(offsetof(PlayMessage, track) == 44);
static_assert(offsetof(PlayMessage, stream) == 48);
static_assert(offsetof(ChangeTrackMessage, track) == 8);
static_assert(offsetof(ChangeTrackMessage, stream) == 12);
#else
// The 64-bit test tree: the same fields, each pointer 8 bytes wide, packing still 4.
static_assert(offsetof(VisualInitMessage, host_callback) == 20);
static_assert(offsetof(VisualInitMessage, instance) == 32);
static_assert(offsetof(ShowMessage, rect) == 8);
static_assert(offsetof(ShowMessage, options) == 16);
static_assert(offsetof(RenderMessage, time_stamp) == 8);
static_assert(offsetof(PlayMessage, track) == 44);
static_assert(offsetof(PlayMessage, stream) == 52);
static_assert(offsetof(ChangeTrackMessage, track) == 8);
static_assert(offsetof(ChangeTrackMessage, stream) == 16);
#endif

// The characters of a host text, up to its first zero unit and never past its field.
inline std::u16string_view host_text(const HostText& text) {
  size_t length = 0;
  while (length < kHostTextMaxLength && text.text[length] != u'\0') ++length;
  return {text.text, length};
}

}  // namespace sabla
