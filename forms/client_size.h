// Sizing a window by the client area it should have.
#pragma once

#include <windows.h>

namespace skyplate {

// Resizes (never moves or activates) the window so that its client area,
// below its menu bar if it has one, is width x height; nothing for a zero size.
void SetClientSize(HWND window, int width, int height);

}  // namespace skyplate
