#pragma once
#include <cstddef>
#include <cstdint>

namespace sabla {

// A message code is four characters in one 32-bit value, the first in the most significant byte.
constexpr uint32_t four_char_code(const char (&code)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[3]));
}

inline constexpr uint32_t kMessageInit = four_char_code("init");
inline constexpr uint32_t kMessageClear = four_char_code("clr ");
inline constexpr uint32_t kMessageRegisterVisual = four_char_code("rvis");
inline constexpr uint32_t kMessageOpenUrl = four_char_code("url ");

// Statuses as the host reads them.
inline constexpr int32_t kStatusOk = 0;
inline constexpr int32_t kStatusUnimplemented = -4;
inline constexpr int32_t kStatusBadParameter = -50;
inline constexpr int32_t kStatusOutOfMemory = -108;
// Anything that went wrong inside the plug-in and has no status of its own.
inline constexpr int32_t kStatusInternalError = -1;

inline constexpr uint32_t kHostMessageMajor = 10;
inline constexpr uint32_t kRegisterVisualMinor = 7;
inline constexpr uint32_t kOpenUrlMinor = 9;
inline constexpr uint32_t kHostMessageSize = 636;
inline constexpr size_t kHostMessageBodySize = 624;

struct HostMessage;

// The host's callback: called as callback(cookie, message code, record).
using HostCallback = int32_t (*)(void* cookie, uint32_t message, HostMessage* record);
// The visual message handler: handler(message code, message record, instance).
using VisualHandler = int32_t (*)(uint32_t message, void* record, void* instance);

// The host lays its records out with 4-byte packing. On the 32-bit host every field is one word
// and the offsets below are the host's; a 64-bit build keeps the same packing with wider
// pointers, so the record is 636 bytes there too.
#pragma pack(push, 4)

// What the host hands to the exported entry with "init".
struct EntryInitMessage {
  uint32_t header[2];  // not read
  void* host_cookie;
  HostCallback host_callback;
};

// Body of "rvis": registers the plug-in as a visualizer.
struct RegistrationBody {
  uint8_t name[64];  // length byte, then 8-bit characters without a terminator
  uint32_t options;
  uint32_t creator;
  uint8_t version[4];  // major, minor revision, stage, non-release revision
  VisualHandler handler;
  uintptr_t reference;
  uint32_t time_between_data_ms;
  uint32_t waveform_channels;
  uint32_t spectrum_channels;
  uint16_t min_width;
  uint16_t min_height;
  uint16_t max_width;
  uint16_t max_height;
  uint16_t min_full_screen_depth;
  uint16_t max_full_screen_depth;
  uint16_t window_alignment;
};

// Body of "url ": asks the host to open an address in the web browser.
struct OpenUrlBody {
  const char* address;
  uint32_t length;
};

// Every call into the host carries one of these.
struct HostMessage {
  uint32_t major_version;
  uint32_t minor_version;
  uint32_t size;
  union {
    uint8_t bytes[kHostMessageBodySize];
    RegistrationBody registration;
    OpenUrlBody open_url;
  } body;
};

#pragma pack(pop)

static_assert(sizeof(HostMessage) == kHostMessageSize);
static_assert(offsetof(HostMessage, body) == 12);
static_assert(offsetof(RegistrationBody, options) == 64);
static_assert(offsetof(RegistrationBody, creator) == 68);
static_assert(offsetof(RegistrationBody, version) == 72);
static_assert(offsetof(RegistrationBody, handler) == 76);
static_assert(offsetof(EntryInitMessage, host_cookie) == 8);
#if UINTPTR_MAX == 0xFFFFFFFFu
// The host's own layout.
static_assert(offsetof(EntryInitMessage, host_callback) == 12);
static_assert(offsetof(RegistrationBody, reference) == 80);
static_assert(offsetof(RegistrationBody, time_between_data_ms) == 84);
static_assert(offsetof(RegistrationBody, waveform_channels) == 88);
static_assert(offsetof(RegistrationBody, spectrum_channels) == 92);
static_assert(offsetof(RegistrationBody, min_width) == 96);
static_assert(offsetof(RegistrationBody, min_height) == 98);
static_assert(offsetof(RegistrationBody, max_width) == 100);
static_assert(offsetof(RegistrationBody, max_height) == 102);
static_assert(offsetof(RegistrationBody, min_full_screen_depth) == 104);
static_assert(offsetof(RegistrationBody, max_full_screen_depth) == 106);
static_assert(offsetof(RegistrationBody, window_alignment) == 108);
static_assert(offsetof(OpenUrlBody, length) == 4);
#endif

// Writes the header words (major, minor, 636) into `record`, or into a zero-filled record of its
// own when there is none, and passes it to the host. Returns the host's status unchanged, or
// kStatusBadParameter without calling anything when there is no callback.
int32_t send_to_host(void* cookie, HostCallback callback, uint32_t message, uint32_t major,
                     uint32_t minor, HostMessage* record);

// Asks the host to open `address` (8-bit text of `length` bytes) in the user's web browser.
int32_t open_url_in_host(void* cookie, HostCallback callback, const char* address, uint32_t length);

// Fills `record` with the registration of the plug-in as a visualizer: every byte not named by
// the registration is zero, the header is left for send_to_host.
void fill_registration(HostMessage& record, VisualHandler handler, uint32_t time_between_data_ms);

}  // namespace sabla
