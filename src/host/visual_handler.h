#pragma once
#include <cstdint>

namespace sabla {

// The function registered with the host for every visual message: handler(message code,
// message record, instance). Returns the host status.
int32_t visual_message_handler(uint32_t message, void* record, void* instance) noexcept;

}  // namespace sabla
