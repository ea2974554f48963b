#pragma once
// Whether the plug-in runs under Wine rather than Windows. Used only where Wine is known to
// behave differently from Windows in a way the plug-in must not rely on.

namespace sabla {

bool running_on_wine();

}  // namespace sabla
