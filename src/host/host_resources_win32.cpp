#include "host/host_resources_win32.h"

#include <mmsystem.h>

#include <span>

#include "ui/resources/resource.h"

namespace sabla {
namespace {

constexpr UINT kTimerResolutionMs = 1;
constexpr std::u16string_view kTempArtworkName = u"Sabla_temp.jpg";

std::u16string_view as_u16(const wchar_t* text, size_t length) {
  return {reinterpret_cast<const char16_t*>(text), length};
}

}  // namespace

void load_string_table(StringTable& table, HMODULE module) {
  table.clear();
  if (!module) return;
  for (int32_t id = 1; id <= StringTable::kLastId; ++id) {
    // With a zero buffer size LoadStringW hands out the text in place, without a terminator.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(module, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (length > 0 && text) table.set(id, as_u16(text, static_cast<size_t>(length)));
  }
}

OwnVersion read_own_version(HMODULE module) {
  VersionParts parts{};
  const HRSRC found =
      module ? FindResourceW(module, MAKEINTRESOURCEW(SABLA_VERSION_RESOURCE), RT_VERSION)
             : nullptr;
  const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  if (bytes) {
    const std::span<const uint8_t> resource(bytes, SizeofResource(module, found));
    if (const auto fixed = fixed_file_version(resource)) parts = *fixed;
  }
  return make_own_version(parts);
}

std::u16string temp_artwork_path() {
  wchar_t folder[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH, folder);
  if (length > MAX_PATH) length = 0;  // the folder does not fit: the name alone
  return std::u16string(as_u16(folder, length)) + std::u16string(kTempArtworkName);
}

HMODULE this_module() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&this_module), &module);
  return module;
}

TimerPeriod::TimerPeriod() : raised_(timeBeginPeriod(kTimerResolutionMs) == TIMERR_NOERROR) {}

TimerPeriod::~TimerPeriod() {
  if (raised_) timeEndPeriod(kTimerResolutionMs);
}

}  // namespace sabla
