// Turning a path built from a track file into one the platform opens.
#pragma once

#include <string>

namespace skyplate {

// On Windows the path as it stands. Elsewhere '\' becomes '/', and a path
// that does not exist with its exact name is looked up without regard to
// ASCII case, folder by folder, as Windows would have found it; when nothing
// matches, the path comes back with only its separators changed.
std::string ResolveInputPath(const std::string& path);

}  // namespace skyplate

namespace skyplate {

// `path` with the separators the platform's file functions expect.
std::string NativeSeparators(const std::string& path);

}  // namespace skyplate
