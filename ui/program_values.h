// The program's process-wide values: fixed names, ids and versions, and what
// the start-up learns about the running process.
#pragma once

#include <windows.h>

#include <string>

#include "resources/resource.h"
#include "version_numbers.h"

namespace skyplate {

inline constexpr char kProgramName[] = "Skyplate";

// The main window's controls.
inline constexpr int kPathEditId = 1000;
inline constexpr int kBrowseButtonId = 1001;
inline constexpr int kBuildButtonId = 1002;
inline constexpr int kStatusLineId = 1003;

struct VersionNumbers {
  int major, minor, build, revision;
};
// Equal to the version record in the resources; held here so that nothing
// has to read the record back.
inline constexpr VersionNumbers kFileVersion{SKYPLATE_VERSION_MAJOR, SKYPLATE_VERSION_MINOR,
                                             SKYPLATE_VERSION_PATCH, SKYPLATE_VERSION_TWEAK};
inline constexpr VersionNumbers kProductVersion{SKYPLATE_VERSION_MAJOR, SKYPLATE_VERSION_MINOR,
                                                SKYPLATE_VERSION_PATCH, 0};

struct StartupValues {
  HINSTANCE instance = nullptr;
  std::string argument_text;    // one track path to build at once, or empty
  std::string rich_edit_class;  // the loaded rich edit control's class, or empty
  std::string program_folder;   // ends in its separator, or empty
};

// Set once by the start-up before the main window exists.
extern StartupValues Startup;

}  // namespace skyplate
