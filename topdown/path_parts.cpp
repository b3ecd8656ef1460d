#include "topdown/path_parts.h"

namespace skyplate {

bool IsPathSeparator(char c, PathStyle style) {
  if (c == '\\') return true;
  return style == PathStyle::kWindows ? c == ':' : c == '/';
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

PathParts SplitPath(std::string_view path, PathStyle style) {
  std::size_t name_start = path.size();
  while (name_start > 0 && !IsPathSeparator(path[name_start - 1], style)) --name_start;

  PathParts parts;
  parts.folder_prefix = path.substr(0, name_start);
  parts.file_name = path.substr(name_start);
  std::size_t dot = parts.file_name.rfind('.');
  if (dot == std::string::npos) dot = parts.file_name.size();
  parts.name = parts.file_name.substr(0, dot);
  parts.extension = parts.file_name.substr(dot);
  return parts;
}

}  // namespace skyplate
