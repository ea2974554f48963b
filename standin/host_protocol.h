#pragma once
// What the stand-in and a plug-in exchange: message codes, statuses and where the fields of the
// host's records lie. Portable, so the record checks run in native tests too.
#include <cstddef>
#include <cstdint>
#include <string>

#include "state/host_messages.h"

namespace standin {

// The codes and statuses are the plug-in's own, so both sides agree on them by construction;
// the record offsets below are written out independently, to catch a layout mistake on either side.
using sabla::four_char_code;
using sabla::kMessageClear;
using sabla::kMessageInit;
using sabla::kMessageOpenUrl;
using sabla::kMessageRegisterVisual;
using sabla::kStatusBadParameter;
using sabla::kStatusOk;
using sabla::kStatusUnimplemented;

// The code as it is written, 'init', or as hex when a character is not printable.
std::string four_char_text(uint32_t code);

inline constexpr uint32_t kRecordMajor = 10;
inline constexpr uint32_t kRegistrationMinor = 7;
inline constexpr uint32_t kOpenUrlMinor = 9;
inline constexpr size_t kRecordSize = 636;
inline constexpr size_t kRecordHeaderSize = 12;
inline constexpr size_t kRecordBodySize = kRecordSize - kRecordHeaderSize;

// The host's records are laid out for 32-bit code with 4-byte packing. A 64-bit build keeps the
// packing and widens every pointer to 8 bytes, which moves each later field along.
enum class PointerWidth { k32 = 4, k64 = 8 };

inline constexpr PointerWidth kNativePointerWidth =
    sizeof(void*) == 8 ? PointerWidth::k64 : PointerWidth::k32;

// Byte offsets of every field the stand-in reads or writes. Registration and address offsets
// count from the start of the whole record, header included.
struct RecordLayout {
  size_t pointer_size;
  // The "init" message to the plug-in's entry.
  size_t init_cookie;
  size_t init_callback;
  size_t init_size;
  // The "rvis" record.
  size_t name;  // 64 bytes: length byte, then the characters
  size_t options;
  size_t creator;
  size_t version;  // 4 bytes
  size_t handler;
  size_t reference;
  size_t time_between_data;
  size_t waveform_channels;
  size_t spectrum_channels;
  size_t min_width;  // then min height, max width, max height: 16-bit each
  size_t min_depth;  // then max depth, 16-bit each
  size_t alignment;  // 16-bit
  // The "url " record.
  size_t url_address;
  size_t url_length;
};

inline constexpr size_t kNameFieldSize = 64;
inline constexpr size_t kMaxNameLength = kNameFieldSize - 1;

constexpr RecordLayout record_layout(PointerWidth width) {
  const size_t p = static_cast<size_t>(width);
  const size_t body = kRecordHeaderSize;
  RecordLayout layout{};
  layout.pointer_size = p;
  layout.init_cookie = 8;
  layout.init_callback = 8 + p;
  layout.init_size = 8 + 2 * p;
  layout.name = body;
  layout.options = body + 64;
  layout.creator = body + 68;
  layout.version = body + 72;
  layout.handler = body + 76;
  layout.reference = layout.handler + p;
  layout.time_between_data = layout.reference + p;
  layout.waveform_channels = layout.time_between_data + 4;
  layout.spectrum_channels = layout.waveform_channels + 4;
  layout.min_width = layout.spectrum_channels + 4;
  layout.min_depth = layout.min_width + 8;
  layout.alignment = layout.min_depth + 4;
  layout.url_address = body;
  layout.url_length = body + p;
  return layout;
}

// The host's own 32-bit offsets, as the plug-in interface fixes them.
static_assert(record_layout(PointerWidth::k32).init_callback == 12);
static_assert(record_layout(PointerWidth::k32).time_between_data == kRecordHeaderSize + 84);
static_assert(record_layout(PointerWidth::k32).min_width == kRecordHeaderSize + 96);
static_assert(record_layout(PointerWidth::k32).alignment == kRecordHeaderSize + 108);
static_assert(record_layout(PointerWidth::k32).url_length == kRecordHeaderSize + 4);

}  // namespace standin
