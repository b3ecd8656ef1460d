// Asking the user for a track file with the system's open-file dialog.
#pragma once

#include <windows.h>

#include <string>

namespace skyplate {

// Shows "Select Track File" over `owner`, starting in the default track
// folder. The chosen full path, or empty when the user cancelled.
std::string ChooseTrackFile(HWND owner);

// The open-file dialog. `filter` separates descriptions and patterns with
// "|"; the first pair is selected. `file_name` holds the initial name on the
// way in and the chosen path (empty after a cancel) on the way out. An empty
// `initial_folder` means the current directory. With `hook`, flags 0 stand
// for an explorer-style, sizable dialog, and the dialog is centred on the
// screen and kept on top. Non-zero when the user chose a file.
BOOL ShowOpenFileDialog(HWND owner, const std::string& title, std::string* file_name,
                        const std::string& initial_folder, const std::string& filter,
                        const std::string& default_extension, DWORD flags, bool hook);

// The open-file dialog's hook: centres the dialog on the desktop and makes it
// topmost once it has been laid out.
UINT_PTR CALLBACK CenterOnDesktopHook(HWND child, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace skyplate
