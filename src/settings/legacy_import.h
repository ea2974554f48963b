#pragma once
#include <cstdint>
#include <span>

#include "settings/code_page.h"
#include "settings/settings.h"

namespace sabla {

// Reads a settings file of the older 8-bit format (ANSI code page, no mark) over the current
// settings and upgrades the values by the old file's version. The caller then saves, so the old
// file is converted once.
void import_legacy_settings(Settings& s, std::span<const uint8_t> file, const CodePage& code_page);

}  // namespace sabla
