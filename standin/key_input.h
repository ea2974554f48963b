#pragma once
// Key presses as the user makes them: through the system's input queue, so a plug-in that polls
// the keyboard state sees them whichever window has the focus.
#include "key_codes.h"

namespace standin {

// Presses the modifiers, then the key; false when the system took fewer events than sent.
bool press_keys(const KeyChord& chord);
// Releases the key, then the modifiers.
bool release_keys(const KeyChord& chord);

}  // namespace standin
