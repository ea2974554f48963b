#pragma once
#include <windows.h>

namespace sabla {

// Whether a system of this version draws the pages of a tab control on the themed tab
// background: Windows XP (5.1) and everything after it.
bool is_themed_pages_version(DWORD major, DWORD minor);

// The same for the running system.
bool uses_themed_pages();

// Every page of the options window calls this on creation: on a system with themes the page
// takes the tab control's background instead of the plain dialog colour.
void enable_themed_page(HWND page);

}  // namespace sabla
