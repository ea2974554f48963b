#pragma once
// Text as the stand-in meets it: UTF-8 in its own files and on the console, UTF-16 in the host's
// records and the automation interface, and lyric files in either form.
#include <string>
#include <string_view>

namespace standin {

// UTF-8 to UTF-16. Every byte that does not begin a well-formed sequence (overlong forms,
// surrogates and values past U+10FFFF included) becomes U+FFFD.
std::u16string utf16_from_utf8(std::string_view text);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string utf8_from_utf16(std::u16string_view text);

// The text of a file: UTF-16 little- or big-endian when it starts with that byte-order mark,
// otherwise UTF-8 with or without its mark. An odd last byte of UTF-16 is dropped.
std::u16string decode_text_file(std::string_view bytes);

}  // namespace standin
