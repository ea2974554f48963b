#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "settings/code_page.h"

namespace sabla {

// 8-bit lyric files are read as the C library's text mode delivers them, and at most this many
// bytes of what it delivers.
inline constexpr size_t kMaxTextModeBytes = 65535;

// Decoding never looks further into a file than this: 32767 UTF-16 units behind the two-byte
// mark, or the raw bytes that yield kMaxTextModeBytes in text mode when every one comes from a
// CR LF pair.
inline constexpr size_t kTextFileReadLimit = 2 * kMaxTextModeBytes + 2;

// The bytes of an 8-bit file as text mode delivers them: every CR LF pair arrives as a single
// LF and a 0x1A byte ends the file; at most kMaxTextModeBytes.
std::string text_mode_bytes(std::span<const uint8_t> file);

// A lyric file's text from its bytes, with CR LF line ends. FF FE starts little-endian and
// FE FF big-endian UTF-16; anything else (including UTF-8 and files shorter than two bytes) is
// 8-bit text in `ansi`, the system's code page.
std::u16string decode_text_file(std::span<const uint8_t> file, const CodePage& ansi);

}  // namespace sabla
