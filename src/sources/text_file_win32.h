#pragma once
#include <string>
#include <string_view>

#include "settings/code_page.h"
#include "sources/text_file.h"

namespace sabla {

// Reads the lyric file at `path` into `out`, decoded by its mark and with CR LF line ends
// (decode_text_file); 8-bit files in `ansi`, or in the system's code page. False, with `out`
// empty, when the file cannot be opened; an empty file gives true and an empty text.
bool read_text_file(std::u16string_view path, std::u16string& out);
bool read_text_file(std::u16string_view path, std::u16string& out, const CodePage& ansi);

// How the lyric file at `path` would be read (detect_text_file_encoding); kCodePage when it
// cannot be opened. Saves use it to write a UTF-8 file back as UTF-8.
TextFileEncoding text_file_encoding(std::u16string_view path);

}  // namespace sabla
