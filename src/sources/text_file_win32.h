#pragma once
#include <string>
#include <string_view>

#include "settings/code_page.h"

namespace sabla {

// Reads the lyric file at `path` into `out`, decoded by its mark and with CR LF line ends
// (decode_text_file); 8-bit files in `ansi`, or in the system's code page. False, with `out`
// empty, when the file cannot be opened; an empty file gives true and an empty text.
bool read_text_file(std::u16string_view path, std::u16string& out);
bool read_text_file(std::u16string_view path, std::u16string& out, const CodePage& ansi);

}  // namespace sabla
