#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace sabla {

// What a name is made safe for: the forms differ in how leading and trailing spaces are treated
// and in whether the path separator and the drive colon survive.
inline constexpr int32_t kSafeTitle = 0;
inline constexpr int32_t kSafeAlbum = 1;
inline constexpr int32_t kSafeArtist = 2;
inline constexpr int32_t kSafePath = 3;

// Rewrites `name` in place so it can stand in a file name (modes kSafeTitle, kSafeAlbum,
// kSafeArtist) or be used as a path (kSafePath). Characters Windows refuses in names become '_';
// a leading space becomes '_' so the name never begins with one; folder names (albums and
// artists) also lose their trailing spaces, which Windows would drop silently, and a name of
// spaces only keeps an underscore at both ends so it does not vanish. Other modes leave the name
// unchanged.
void make_file_safe(std::u16string& name, int32_t mode);

// The song file's name when the host gives none: the part of `file_path` behind its last '\'
// (all of it when there is none).
std::u16string_view file_name_of(std::u16string_view file_path);

}  // namespace sabla
