// The display window: shows a picture growing while a build composites it,
// reduced to the window's size, from a thread of its own so that it stays
// responsive while the build keeps the main window's thread busy.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "topdown/bitmap.h"

namespace skyplate {

// Opens a display window whose outer top-left corner is at (left, top) and
// whose client area is client_width x client_height, filled with the button
// face colour. Returns its frame, or 0 when it could not be made. The window
// lives until the user closes it; nothing else closes it.
HWND OpenDisplayWindow(const std::string& caption, std::int32_t left, std::int32_t top,
                       std::int32_t client_width, std::int32_t client_height);

// Shows the whole of `picture`, scaled to the window's client area, after its
// columns first_column..last_column (inclusive) changed; only the part of the
// window those columns reach is redrawn. Does nothing for a window that is 0
// or has been closed.
void RefreshDisplay(HWND window, const Bitmap& picture, std::int32_t first_column,
                    std::int32_t last_column);

}  // namespace skyplate
