#pragma once
// The fake plug-in writes what it sees to the stand-in's standard output, one "fake: ..." line
// each, so a test reads the host's messages and the plug-in's view of them as one sequence.
#include <cstdint>
#include <string>
#include <string_view>

namespace fake {

void say(std::string_view line);
std::string hex(uint32_t value);
std::string utf8(std::u16string_view text);
// Milliseconds from a fine clock that never goes back.
uint64_t now_ms();

}  // namespace fake
