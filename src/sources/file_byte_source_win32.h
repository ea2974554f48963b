#pragma once
#include <memory>
#include <string_view>

#include "sources/byte_source.h"

namespace sabla {

// The file at `path` opened for reading its bytes, shared with anyone reading or writing it;
// nullptr when it cannot be opened. The file is closed with the source.
std::unique_ptr<ByteSource> open_file_byte_source(std::u16string_view path);

}  // namespace sabla
