#include "state/host_messages.h"

#include <cstring>
#include <string_view>

#include "state/version.h"

namespace sabla {
namespace {

constexpr std::string_view kMenuName = "Sabla";
constexpr uint32_t kWantsIdleMessages = 0x08;
constexpr uint32_t kWantsConfigureMessage = 0x20;
constexpr uint32_t kCreatorUnknown = four_char_code("????");
constexpr uint16_t kMinimumSide = 64;
constexpr uint16_t kMaximumSide = 0x7FFF;
constexpr uint32_t kChannelsRequested = 2;

static_assert(kMenuName.size() < sizeof(RegistrationBody::name));

}  // namespace

int32_t send_to_host(void* cookie, HostCallback callback, uint32_t message, uint32_t major,
                     uint32_t minor, HostMessage* record) {
  if (!callback) return kStatusBadParameter;
  HostMessage own_record;
  if (!record) {
    std::memset(&own_record, 0, sizeof own_record);
    record = &own_record;
  }
  record->major_version = major;
  record->minor_version = minor;
  record->size = kHostMessageSize;
  return callback(cookie, message, record);
}

int32_t open_url_in_host(void* cookie, HostCallback callback, const char* address,
                         uint32_t length) {
  HostMessage record;
  std::memset(&record, 0, sizeof record);
  record.body.open_url.address = address;
  record.body.open_url.length = length;
  return send_to_host(cookie, callback, kMessageOpenUrl, kHostMessageMajor, kOpenUrlMinor, &record);
}

void fill_registration(HostMessage& record, VisualHandler handler, uint32_t time_between_data_ms) {
  // Padding inside the body is part of what the host reads, so the whole record starts at zero.
  std::memset(&record, 0, sizeof record);
  RegistrationBody& body = record.body.registration;
  body.name[0] = static_cast<uint8_t>(kMenuName.size());
  std::memcpy(body.name + 1, kMenuName.data(), kMenuName.size());
  body.options = kWantsIdleMessages | kWantsConfigureMessage;
  body.creator = kCreatorUnknown;
  std::memcpy(body.version, kRegistrationVersion, sizeof body.version);
  body.handler = handler;
  body.time_between_data_ms = time_between_data_ms;
  body.waveform_channels = kChannelsRequested;
  body.spectrum_channels = kChannelsRequested;
  body.min_width = kMinimumSide;
  body.min_height = kMinimumSide;
  body.max_width = kMaximumSide;
  body.max_height = kMaximumSide;
}

}  // namespace sabla
