#include "topdown/track_file.h"

#include <fstream>

#include "topdown/limits.h"

namespace skyplate {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Reads one line without its '\n', keeping at most kMaxLineBytes of it.
bool ReadLine(std::streambuf& in, std::string* line) {
  line->clear();
  int c = in.sbumpc();
  if (c == std::char_traits<char>::eof()) return false;
  while (c != std::char_traits<char>::eof() && c != '\n') {
    if (line->size() < kMaxLineBytes) line->push_back(static_cast<char>(c));
    c = in.sbumpc();
  }
  return true;
}

std::string CleanValue(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  // The value is handed on as a C string: it ends at its first zero byte.
  value = value.substr(0, value.find('\0'));
  return std::string(value.substr(0, kMaxEntryBytes));
}

}  // namespace

std::string FindIniEntry(std::istream& text, std::string_view section, std::string_view key) {
  std::streambuf* in = text.rdbuf();
  if (in == nullptr) return std::string(kNotFound);
  bool in_section = false;
  std::string line;
  while (ReadLine(*in, &line)) {
    std::string_view content = Trim(line);
    if (!content.empty() && content.front() == '[') {
      std::string_view name = content.substr(1, content.find(']') - 1);
      in_section = EqualsIgnoringCase(Trim(name), section);
      continue;
    }
    if (!in_section) continue;
    std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) continue;
    if (EqualsIgnoringCase(Trim(content.substr(0, equals)), key)) {
      return CleanValue(content.substr(equals + 1));
    }
  }
  return std::string(kNotFound);
}

std::string ReadTrackEntry(const std::string& path, std::string_view key) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::string(kNotFound);
  try {
    return FindIniEntry(file, kTerrainSection, key);
  } catch (const std::ios_base::failure&) {
    // libstdc++ reports a read error, such as reading a folder, by throwing.
    return std::string(kNotFound);
  }
}

}  // namespace skyplate
