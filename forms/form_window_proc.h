// The window procedure every form class is registered with. It runs the
// runtime's generic steps and calls the handlers of the form's description.
#pragma once

#include <windows.h>

namespace skyplate {

LRESULT CALLBACK FormWindowProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skyplate
