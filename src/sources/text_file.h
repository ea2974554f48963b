#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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

// How a lyric file's bytes are read, and so how a save over it writes them again.
enum class TextFileEncoding {
  kCodePage,  // 8-bit text in the system's code page
  kUtf16LittleEndian,
  kUtf16BigEndian,
  kUtf8,          // no mark: told by its bytes alone
  kUtf8WithMark,  // EF BB BF
};

// FF FE and FE FF mark UTF-16 and EF BB BF marks UTF-8. A file without a mark is UTF-8 when
// what text mode delivers of it is strictly well-formed UTF-8 and holds at least one multi-byte
// character; a sequence cut off only because the read limit was reached still counts. Anything
// else (files shorter than a mark too) is code-page text.
TextFileEncoding detect_text_file_encoding(std::span<const uint8_t> file);

// Strictly well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF) with at
// least one multi-byte character. With `cut_short`, an incomplete last sequence is accepted.
bool is_multibyte_utf8(std::string_view bytes, bool cut_short);

// A lyric file's text from its bytes, with CR LF line ends, in the encoding
// detect_text_file_encoding names; code-page text goes through `ansi`.
std::u16string decode_text_file(std::span<const uint8_t> file, const CodePage& ansi);

}  // namespace sabla
