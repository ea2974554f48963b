#pragma once
// The scenario's hands on the plug-in's options window: it is found among this thread's
// windows as the dialog with the tab control, and driven as a user would through its controls.
#include <windows.h>

#include <functional>
#include <string>

namespace standin {

// The plug-in's options window while it is open, else null.
HWND find_options_window();

// Each returns an error text, empty when it worked.
std::string select_options_tab(HWND frame, int tab);
std::string type_into(HWND frame, int control, const std::wstring& text);
std::string press(HWND frame, int control);

// Sends `command` to the page in view without waiting for it, and calls `on_dialog` with the
// modal dialog it opens as soon as that shows, then cancels the dialog. `on_dialog` gets null
// when none showed within a few seconds.
std::string press_for_modal(HWND frame, int command, std::function<void(HWND)> on_dialog);

}  // namespace standin
