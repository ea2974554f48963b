#include "small_file.h"

#include <fstream>

namespace standin {

std::optional<std::string> read_small_file(const std::filesystem::path& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(limit + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  const auto got = static_cast<size_t>(in.gcount());
  if (got > limit || in.bad()) return std::nullopt;
  bytes.resize(got);
  return bytes;
}

std::filesystem::path beside(const std::filesystem::path& file, std::string_view relative) {
  if (relative.empty()) return {};
  const std::filesystem::path path(std::u8string(relative.begin(), relative.end()));
  return path.is_absolute() ? path : file.parent_path() / path;
}

}  // namespace standin
