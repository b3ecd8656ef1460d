// Picking a folder with the shell's folder browser.
#pragma once

#include <windows.h>

#include <string>

namespace skyplate {

// Asks for the track folder with "C:\" selected, the browser placed 30 pixels
// right of and below `owner`'s corner. The chosen folder's path, or empty
// when the user cancelled or chose something that is not a folder on disk.
std::string BrowseForTrackFolder(HWND owner);

}  // namespace skyplate
