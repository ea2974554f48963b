#pragma once
// The host's side of the conversation with a plug-in's entry: sends "init" with this session as
// the cookie, answers the plug-in's calls into the host and keeps what they carried.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registration_record.h"

namespace standin {

// The plug-in's exported entry: entry(message code, message record).
using PluginEntry = int32_t (*)(uint32_t message, void* record);
// What the plug-in calls back: callback(cookie, message code, record).
using HostCallback = int32_t (*)(void* cookie, uint32_t message, void* record);

// Addresses longer than this are refused rather than copied.
inline constexpr uint32_t kMaxUrlLength = 8192;

class HostSession {
 public:
  using Printer = std::function<void(std::string_view)>;

  explicit HostSession(Printer print) : print_(std::move(print)) {}
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // Sends "init" to `entry` and returns the plug-in's status.
  int32_t send_init(PluginEntry entry);
  // Sends "clr " to `entry` and returns the plug-in's status.
  int32_t send_clear(PluginEntry entry);

  // Every registration received, in order; the first one is the plug-in's visualizer.
  const std::vector<RegistrationCheck>& registrations() const { return registrations_; }
  const std::vector<std::string>& opened_urls() const { return opened_urls_; }

  // The callback handed to the plug-in. Public so tests can call into it as a plug-in would.
  static int32_t host_callback(void* cookie, uint32_t message, void* record);

 private:
  int32_t receive(uint32_t message, const uint8_t* record);
  int32_t receive_registration(const uint8_t* record, size_t readable);
  int32_t receive_open_url(const uint8_t* record, size_t readable);

  Printer print_;
  std::vector<RegistrationCheck> registrations_;
  std::vector<std::string> opened_urls_;
};

// How many bytes of a record whose header claims `declared_size` the host may read: the header
// always, the rest only as far as the plug-in says it wrote, and never past a whole record.
size_t readable_record_size(uint32_t declared_size);

}  // namespace standin
