#pragma once
#include <optional>
#include <string_view>

namespace sabla {

struct PluginState;

// Launches search slot `slot` (0 to 7) for an artist, title and album; an absent text counts as
// empty. A web template is filled with the values in the slot's encoding, percent-encoded, and
// handed to the host to open; a program template is filled with the values as they are and
// started, hidden, in the program's folder. False only when the slot does not exist or its
// template is neither form: the caller then warns with string 40043. A program that fails to
// start, a host that ignores the address, and a result too long for its buffer (refused, not
// cut) are silent and count as launched.
bool launch_search(PluginState& state, std::optional<std::u16string_view> artist,
                   std::optional<std::u16string_view> title,
                   std::optional<std::u16string_view> album, int slot);

}  // namespace sabla
