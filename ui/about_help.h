// The Help menu's two commands.
#pragma once

#include <windows.h>

#include <string>

namespace skyplate {

// Opens Skyplate.html in `program_folder` (which ends in its separator, or is
// empty for the current directory) with the user's default viewer, without
// waiting for it. Returns ShellExecuteA's code, above 32 on success; the
// program has nothing to tell the user when it fails.
INT_PTR OpenHelpPage(const std::string& program_folder);

// The About box's four lines, showing the version as major.minor.
std::string AboutBoxText(int major_version, int minor_version);

// Shows the About box and waits until the user closes it.
void ShowAboutBox(int major_version, int minor_version);

}  // namespace skyplate
