#pragma once
#include <cstdint>

namespace fake {

// The fake plug-in's visual message handler: reads each message at the host's offsets, checks
// it against what a host must send, answers 0 and reports what it saw.
int32_t visual_handler(uint32_t message, void* record, void* instance);

}  // namespace fake
