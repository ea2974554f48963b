#include "host_session.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "byte_text.h"

namespace standin {

namespace {

std::string status_text(int32_t status) { return std::to_string(status); }

}  // namespace

size_t readable_record_size(uint32_t declared_size) {
  return std::clamp<size_t>(declared_size, kRecordHeaderSize, kRecordSize);
}

int32_t HostSession::send_init(PluginEntry entry) {
  const RecordLayout layout = record_layout(kNativePointerWidth);
  // The header words are not read by the plug-in; they stay zero.
  std::vector<uint8_t> message(layout.init_size, 0);
  void* cookie = this;
  HostCallback callback = &HostSession::host_callback;
  std::memcpy(message.data() + layout.init_cookie, &cookie, sizeof cookie);
  std::memcpy(message.data() + layout.init_callback, &callback, sizeof callback);
  const int32_t status = entry(kMessageInit, message.data());
  print_("plug-in 'init' returned " + status_text(status) + "\n");
  return status;
}

int32_t HostSession::send_clear(PluginEntry entry) {
  const int32_t status = entry(kMessageClear, nullptr);
  print_("plug-in 'clr ' returned " + status_text(status) + "\n");
  return status;
}

int32_t HostSession::host_callback(void* cookie, uint32_t message, void* record) {
  if (!cookie) return kStatusBadParameter;
  return static_cast<HostSession*>(cookie)->receive(message, static_cast<const uint8_t*>(record));
}

int32_t HostSession::receive(uint32_t message, const uint8_t* record) {
  if (message != kMessageRegisterVisual && message != kMessageOpenUrl) {
    print_("host call " + four_char_text(message) + " is not handled by the stand-in\n");
    return kStatusUnimplemented;
  }
  if (!record) {
    print_("host call " + four_char_text(message) + " came without a record\n");
    return kStatusBadParameter;
  }
  uint32_t declared_size = 0;
  std::memcpy(&declared_size, record + 8, sizeof declared_size);
  const size_t readable = readable_record_size(declared_size);
  return message == kMessageRegisterVisual ? receive_registration(record, readable)
                                           : receive_open_url(record, readable);
}

int32_t HostSession::receive_registration(const uint8_t* record, size_t readable) {
  registrations_.push_back(
      check_registration(std::span<const uint8_t>(record, readable), kNativePointerWidth));
  const RegistrationCheck& check = registrations_.back();
  print_(format_registration_report(check));
  return check.valid() ? kStatusOk : kStatusBadParameter;
}

int32_t HostSession::receive_open_url(const uint8_t* record, size_t readable) {
  const RecordLayout layout = record_layout(kNativePointerWidth);
  const ByteReader in(std::span<const uint8_t>(record, readable));
  std::vector<std::string> problems;
  if (in.u32(0) != kRecordMajor || in.u32(4) != kOpenUrlMinor || in.u32(8) != kRecordSize) {
    problems.push_back("header is version " + std::to_string(in.u32(0)) + "." +
                       std::to_string(in.u32(4)) + ", size " + std::to_string(in.u32(8)) +
                       ", expected 10.9, size 636");
  }
  const uint64_t address = in.word(layout.url_address, layout.pointer_size);
  const uint32_t length = in.u32(layout.url_length);
  if (!in.holds(layout.url_length, 4)) problems.push_back("the record is too short");
  if (address == 0 && length != 0) problems.push_back("the address pointer is null");
  if (length > kMaxUrlLength) {
    problems.push_back("the length " + std::to_string(length) + " is over " +
                       std::to_string(kMaxUrlLength));
  }
  if (!problems.empty()) {
    for (const std::string& p : problems) print_("url request refused: " + p + "\n");
    return kStatusBadParameter;
  }
  std::string url;
  if (length != 0)
    url.assign(reinterpret_cast<const char*>(static_cast<uintptr_t>(address)), length);
  print_("url request: \"" + escape_bytes(url) + "\" (" + std::to_string(length) + " bytes at " +
         hex(address, static_cast<int>(layout.pointer_size) * 2) + ")\n");
  opened_urls_.push_back(std::move(url));
  return kStatusOk;
}

}  // namespace standin
