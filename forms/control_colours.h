// The colours a control with custom colours paints with, and their refresh
// when the system colours change.
#pragma once

#include <windows.h>

namespace skyplate {

// Answers WM_CTLCOLOR* for the control in lParam; nullptr asks for default
// processing (the control has no custom colours).
HBRUSH ControlColours(HDC dc, HWND control);

// Takes fresh system brushes for the form's controls whose background is a
// system colour.
void RefreshControlColours(HWND form);

}  // namespace skyplate
