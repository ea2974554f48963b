#pragma once
#include <cstddef>
#include <string>

namespace sabla {

struct Settings;
class KeyNames;

// The key column of the about page can hold this many characters.
inline constexpr size_t kKeyHelpMaxUnits = 1024;

// The key column of the about page: one line per label of the column beside it, with the key
// names configured now. It opens with a line break, because the labels open with a heading that
// has no key. Lines end in CR LF, as a multi-line edit wants them.
std::u16string key_help_text(const Settings& settings, const KeyNames& names);

}  // namespace sabla
