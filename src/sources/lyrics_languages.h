#pragma once
#include <cstdint>
#include <span>

namespace sabla {

// Whether four bytes behind a lyrics frame's encoding byte are an accepted language code
// followed by the terminator of an empty 8-bit content descriptor: the first three bytes are
// one of the known codes (compared exactly, letter case included) and the fourth is zero.
bool is_lyrics_language(std::span<const uint8_t, 4> bytes);

}  // namespace sabla
