#pragma once
// Reading the stand-in's own small input files whole, and finding files named relative to them.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace standin {

// Reads the whole file when it is at most `limit` bytes; nothing when it cannot be read or is
// larger.
std::optional<std::string> read_small_file(const std::filesystem::path& path, size_t limit);

// `relative` (UTF-8) taken from the folder that holds `file`; an absolute path stays as it is and
// empty stays empty.
std::filesystem::path beside(const std::filesystem::path& file, std::string_view relative);

}  // namespace standin
