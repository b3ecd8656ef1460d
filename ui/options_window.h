// The Options window: shows, browses for and saves the default track folder.
#pragma once

#include <windows.h>

namespace skyplate {

// Shows the window modally over `owner`, which stays disabled until the
// window has closed; returns then.
void ShowOptionsWindow(HWND owner);

}  // namespace skyplate
