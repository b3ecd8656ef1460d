#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "topdown/input_path.h"

namespace skyplate {
namespace {

namespace fs = std::filesystem;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

// The entry of `folder` named `name` up to case, preferring the exact name.
bool FindEntry(const fs::path& folder, const std::string& name, fs::path* found) {
  std::error_code error;
  if (fs::exists(folder / name, error)) {
    *found = folder / name;
    return true;
  }
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    if (SameIgnoringCase(it->path().filename().string(), name)) {
      *found = folder / it->path().filename();
      return true;
    }
  }
  return false;
}

}  // namespace

std::string NativeSeparators(const std::string& path) {
  std::string unified = path;
  std::replace(unified.begin(), unified.end(), '\\', '/');
  return unified;
}

std::string ResolveInputPath(const std::string& path) {
  const std::string unified = NativeSeparators(path);
  std::error_code error;
  if (unified.empty() || fs::exists(unified, error)) return unified;

  fs::path resolved = unified.front() == '/' ? fs::path("/") : fs::path();
  std::size_t start = unified.front() == '/' ? 1 : 0;
  while (start <= unified.size()) {
    std::size_t end = std::min(unified.find('/', start), unified.size());
    std::string name = unified.substr(start, end - start);
    if (name.empty() || name == "." || name == "..") {
      resolved /= name;
    } else if (!FindEntry(resolved, name, &resolved)) {
      return unified;
    }
    start = end + 1;
  }
  return resolved.string();
}

}  // namespace skyplate
