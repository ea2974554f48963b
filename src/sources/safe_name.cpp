#include "sources/safe_name.h"

#include <string_view>

namespace sabla {
namespace {

constexpr std::u16string_view kNameUnsafe = u"\\/:*?\"<>|";
constexpr std::u16string_view kPathUnsafe = u"/*?\"<>|";

void replace_unsafe(std::u16string& name, std::u16string_view unsafe) {
  for (char16_t& c : name) {
    if (unsafe.find(c) != std::u16string_view::npos) c = u'_';
  }
}

bool only_spaces(const std::u16string& name) {
  return !name.empty() && name.find_first_not_of(u' ') == std::u16string::npos;
}

}  // namespace

void make_file_safe(std::u16string& name, int32_t mode) {
  switch (mode) {
    case kSafeTitle:
      replace_unsafe(name, kNameUnsafe);
      if (!name.empty() && name.front() == u' ') name.front() = u'_';
      break;
    case kSafeAlbum:
    case kSafeArtist: {
      replace_unsafe(name, kNameUnsafe);
      const bool spaces = only_spaces(name);
      if (!name.empty() && name.front() == u' ') name.front() = u'_';
      if (spaces) name.back() = u'_';
      const size_t end = name.find_last_not_of(u' ');
      name.erase(end == std::u16string::npos ? 0 : end + 1);
      break;
    }
    case kSafePath:
      replace_unsafe(name, kPathUnsafe);
      break;
    default:
      break;
  }
}

std::u16string_view file_name_of(std::u16string_view file_path) {
  const size_t separator = file_path.rfind(u'\\');
  return separator == std::u16string_view::npos ? file_path : file_path.substr(separator + 1);
}

}  // namespace sabla
