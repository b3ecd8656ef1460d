// The subclass procedure AttachControl installs on controls: it keeps the
// form's LastFocus, applies SelectOnFocus and frees the control's data when
// the control is destroyed.
#pragma once

#include <windows.h>

namespace skyplate {

LRESULT CALLBACK ControlSubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skyplate
