#pragma once
// Playing positions as the transport bar and the log show them.
#include <cstdint>
#include <string>

namespace standin {

// "m:ss", minutes unbounded.
std::string format_position(uint32_t ms);

}  // namespace standin
