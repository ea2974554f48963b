#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sabla {

// How a search slot's values reach a web address (`sjis_euc`).
enum class SearchEncoding { kSystemCodePage = 0, kEucJp = 1, kUtf8 = 2 };

// The setting's number as an encoding; numbers outside 0..2 mean the system code page.
SearchEncoding search_encoding_of(int32_t sjis_euc);

// An encoded value lives in a field of this many bytes, terminator included.
inline constexpr size_t kEncodedValueField = 622;
// The longest 8-bit value that is encoded at all: any byte may take three characters.
inline constexpr size_t kMaxEncodedValueBytes = (kEncodedValueField - 1) / 3;

// The value as it goes into an address. Bytes 0x81-0x9F and 0xE0-0xEF start a two-byte
// character whose two bytes are both written as %XX (the trail could otherwise pass as '@' or a
// letter); a space becomes '+'; letters, digits and "@*-._" stay; everything else is %XX.
// Empty when `bytes` is longer than kMaxEncodedValueBytes: a cut value would search for
// something else.
std::string percent_encode_search_value(std::string_view bytes);

// Shift_JIS to EUC-JP in place, by JIS X 0208 row and cell arithmetic. Half-width katakana and
// ASCII stay as they are (no single-shift prefix), as does a lead byte at the very end.
void shift_jis_to_euc_jp(std::string& text);

}  // namespace sabla
