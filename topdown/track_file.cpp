#include "topdown/track_file.h"

#include <algorithm>

#include "topdown/input_file.h"
#include "topdown/limits.h"
#include "topdown/track_text.h"

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

// Takes one line off the front of `text`, without its '\n'.
std::string_view NextLine(std::string_view* text) {
  const std::size_t end = std::min(text->find('\n'), text->size());
  const std::string_view line = text->substr(0, end);
  text->remove_prefix(std::min(end + 1, text->size()));
  return line;
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

std::string FindIniEntry(std::string_view text, std::string_view section, std::string_view key) {
  bool in_section = false;
  while (!text.empty()) {
    std::string_view content = Trim(NextLine(&text).substr(0, kMaxLineBytes));
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

bool ReadTrackText(const std::string& path, std::string* text, std::string* error) {
  InputFile file;
  if (!file.Open(path, error)) return false;
  if (file.size() > kMaxTrackFileBytes) {
    *error = "is too large to be a track file (more than " +
             std::to_string(kMaxTrackFileBytes >> 20) + " MiB)";
    return false;
  }
  std::string bytes(static_cast<std::size_t>(file.size()), '\0');
  bytes.resize(file.ReadAt(0, bytes.data(), bytes.size()));
  *text = DecodeTrackText(std::move(bytes));
  return true;
}

}  // namespace skyplate
