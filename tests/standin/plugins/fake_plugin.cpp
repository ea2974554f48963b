// A test double for a visual plug-in, written against the host interface alone: at "init" it
// registers with the record a correct Sabla sends (idle every 25 ms) and asks the host to open
// one address; its handler reports every visual message (fake_visual_handler.cpp). Built with
// FAKE_PLUGIN_FAULTY it sends a registration with a wrong minor version and a stray byte.
#include <cstdint>
#include <cstring>

#include "fake_visual_handler.h"

namespace {

using HostCallback = int32_t (*)(void* cookie, uint32_t message, void* record);

constexpr uint32_t kInit = 0x696E6974;      // "init"
constexpr uint32_t kClear = 0x636C7220;     // "clr "
constexpr uint32_t kRegister = 0x72766973;  // "rvis"
constexpr uint32_t kUrl = 0x75726C20;       // "url "
constexpr size_t kPointer = sizeof(void*);
constexpr char kAddress[] = "https://example.invalid/lyrics?artist=Tsukimi%20Lanterns";

void put16(uint8_t* r, size_t offset, uint16_t v) { std::memcpy(r + offset, &v, 2); }
void put32(uint8_t* r, size_t offset, uint32_t v) { std::memcpy(r + offset, &v, 4); }
void put_pointer(uint8_t* r, size_t offset, const void* p) {
  std::memcpy(r + offset, &p, kPointer);
}

constexpr uint32_t kIdleIntervalMs = 25;

void write_header(uint8_t* r, uint32_t minor) {
  put32(r, 0, 10);
  put32(r, 4, minor);
  put32(r, 8, 636);
}

int32_t register_visualizer(void* cookie, HostCallback callback) {
  uint8_t record[636] = {};
  uint8_t* body = record + 12;
#ifdef FAKE_PLUGIN_FAULTY
  write_header(record, 8);
  record[200] = 0x5A;
#else
  write_header(record, 7);
#endif
  body[0] = 5;
  std::memcpy(body + 1, "Sabla", 5);
  put32(body, 64, 0x28);
  put32(body, 68, 0x3F3F3F3F);
  const uint8_t version[4] = {1, 0, 0x80, 0};
  std::memcpy(body + 72, version, 4);
  // From the handler on, each pointer-sized field moves the ones behind it.
  const auto handler = &fake::visual_handler;
  std::memcpy(body + 76, &handler, kPointer);
  put_pointer(body, 76 + kPointer, nullptr);
  const size_t after = 76 + 2 * kPointer;
  put32(body, after, kIdleIntervalMs);
  put32(body, after + 4, 2);
  put32(body, after + 8, 2);
  put16(body, after + 12, 64);
  put16(body, after + 14, 64);
  put16(body, after + 16, 0x7FFF);
  put16(body, after + 18, 0x7FFF);
  return callback(cookie, kRegister, record);
}

void open_address(void* cookie, HostCallback callback) {
  uint8_t record[636] = {};
  write_header(record, 9);
  put_pointer(record, 12, kAddress);
  put32(record, 12 + kPointer, sizeof kAddress - 1);
  callback(cookie, kUrl, record);
}

}  // namespace

extern "C" __declspec(dllexport) int32_t iTunesPluginMain(uint32_t message, void* record) {
  if (message == kClear) return 0;
  if (message != kInit || !record) return -4;
  void* cookie = nullptr;
  HostCallback callback = nullptr;
  std::memcpy(&cookie, static_cast<uint8_t*>(record) + 8, kPointer);
  std::memcpy(&callback, static_cast<uint8_t*>(record) + 8 + kPointer, kPointer);
  const int32_t status = register_visualizer(cookie, callback);
  open_address(cookie, callback);
  return status;
}
