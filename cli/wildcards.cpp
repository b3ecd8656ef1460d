#include "cli/wildcards.h"

#include <algorithm>

#include "cli/folders.h"
#include "topdown/path_parts.h"

namespace skyplate {
namespace {

bool IsSeparator(char c) {
  return c == '/' || IsPathSeparator(c, kNativePathStyle);
}

void Expand(const std::string& pattern, std::vector<std::string>* paths) {
  const std::size_t wild = pattern.find_first_of("*?");
  if (wild == std::string::npos) {
    if (KindOfPath(pattern) != PathKind::kNone) paths->push_back(pattern);
    return;
  }
  std::size_t start = wild;
  while (start > 0 && !IsSeparator(pattern[start - 1])) --start;
  std::size_t end = wild;
  while (end < pattern.size() && !IsSeparator(pattern[end])) ++end;
  const std::string folder = pattern.substr(0, start);
  const std::string_view component = std::string_view(pattern).substr(start, end - start);
  const std::string rest = pattern.substr(end);

  std::vector<FolderEntry> entries;
  std::string error;
  if (!ListFolder(folder.empty() ? "." : folder, &entries, &error)) return;
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries) {
    if (entry.name[0] == '.' && component[0] != '.') continue;
    if (!rest.empty() && !entry.is_folder) continue;
    if (MatchesPattern(component, entry.name)) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end(), ComesBefore);
  for (const std::string& name : names) {
    if (rest.empty()) {
      paths->push_back(folder + name);
    } else {
      Expand(folder + name + rest, paths);
    }
  }
}

}  // namespace

bool HasWildcards(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

bool MatchesPattern(std::string_view pattern, std::string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  // Where the last '*' was and how much of the name it took: on a mismatch
  // it takes one character more.
  std::size_t star = std::string_view::npos;
  std::size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool ComesBefore(std::string_view a, std::string_view b) {
  // Windows compares names in capitals, which puts '_' after the letters.
  const auto upper = [](char c) {
    return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  };
  const auto by_letter = [&](char x, char y) { return upper(x) < upper(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), by_letter)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), by_letter)) return false;
  return a < b;
}

std::vector<std::string> ExpandPattern(const std::string& pattern) {
  std::vector<std::string> paths;
  Expand(pattern, &paths);
  return paths;
}

}  // namespace skyplate
