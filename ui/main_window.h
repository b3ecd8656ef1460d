// The main window: the path edit box, the browse and build buttons, the
// status line and the menu; builds the track named on the command line as
// soon as it is shown.
#pragma once

#include <windows.h>

#include "forms/form_description.h"

namespace skyplate {

// Posted to itself at creation when there is a track path to build at once.
inline constexpr UINT kStartupBuildMessage = WM_USER + 1000;

inline constexpr int kMainClientWidth = 719;
inline constexpr int kMainClientHeight = 116;

extern const FormDescription kMainForm;

// The main window (0 once destroyed) and its controls, for the build's
// reports and the dialogs it owns.
extern HWND MainWindow;
extern HWND PathEdit;
extern HWND BrowseButton;
extern HWND BuildButton;
extern HWND StatusLine;
extern HMENU MainMenu;

}  // namespace skyplate
