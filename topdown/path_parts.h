// How a path splits into folder, name and extension. Windows separates with
// '\' and ':' only; elsewhere '/' is the separator and '\' counts too, so that
// track files written on Windows ("maps\Hill_mask.bmp") work unchanged.
#pragma once

#include <string>
#include <string_view>

namespace skyplate {

enum class PathStyle { kWindows, kPosix };

// The style of the platform this program was built for.
constexpr PathStyle kNativePathStyle =
#ifdef _WIN32
    PathStyle::kWindows;
#else
    PathStyle::kPosix;
#endif

struct PathParts {
  std::string folder_prefix;  // up to and including the last separator
  std::string file_name;      // after the last separator
  std::string name;           // file_name without its extension
  std::string extension;      // from the file name's last '.', the '.' included
};

bool IsPathSeparator(char c, PathStyle style);

// `c` with ASCII capitals made small: names compare this way on Windows.
constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
// Whether two texts are equal with ASCII letter case ignored.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
PathParts SplitPath(std::string_view path, PathStyle style);

}  // namespace skyplate
