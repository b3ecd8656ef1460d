#include "cli/track_scan.h"

#include <set>
#include <string_view>

#include "topdown/limits.h"
#include "topdown/path_parts.h"
#include "topdown/track_file.h"

namespace skyplate {
namespace {

// Past this many names of each kind a hostile file gets no more attention.
constexpr std::size_t kMaxNamesKept = 1000;
constexpr std::size_t kMaxCutLinesKept = 20;

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string lower(s);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

// Counts each name once; a second sighting is recorded in `duplicates`.
void Count(const std::string& name, std::set<std::string>* seen,
           std::vector<std::string>* duplicates) {
  const std::string lower = Lower(name);
  if (seen->count(lower) == 0) {
    if (seen->size() < kMaxNamesKept) seen->insert(lower);
    return;
  }
  if (duplicates->size() < kMaxNamesKept) duplicates->push_back(name);
}

}  // namespace

std::string ByteOrderMarkOf(std::string_view head) {
  if (head.starts_with("\xEF\xBB\xBF")) return "UTF-8";
  if (head.starts_with("\xFF\xFE")) return "UTF-16 LE";
  if (head.starts_with("\xFE\xFF")) return "UTF-16 BE";
  return "";
}

TrackFileScan ScanTrackText(std::istream& text) {
  TrackFileScan scan;
  std::streambuf* in = text.rdbuf();
  if (in == nullptr) return scan;
  std::set<std::string> sections;
  std::set<std::string> keys;
  bool in_terrain = false;
  bool zero_bytes = false;
  std::string line;
  for (std::size_t number = 1;; ++number) {
    line.clear();
    bool cut = false;
    int c = in->sbumpc();
    if (c == std::char_traits<char>::eof()) break;
    while (c != std::char_traits<char>::eof() && c != '\n') {
      if (c == 0) zero_bytes = true;
      if (line.size() < kMaxLineBytes) {
        line.push_back(static_cast<char>(c));
      } else {
        cut = true;
      }
      c = in->sbumpc();
    }
    if (number == 1) scan.byte_order_mark = ByteOrderMarkOf(line);
    if (cut && scan.cut_lines.size() < kMaxCutLinesKept) scan.cut_lines.push_back(number);
    const std::string_view content = Trim(line);
    if (!content.empty() && content.front() == '[') {
      const std::string name(Trim(content.substr(1, content.find(']') - 1)));
      in_terrain = EqualIgnoringCase(name, kTerrainSection);
      Count(name, &sections, &scan.duplicate_sections);
      continue;
    }
    const std::size_t equals = content.find('=');
    if (!in_terrain || equals == std::string_view::npos) continue;
    const std::string key(Trim(content.substr(0, equals)));
    if (keys.count(Lower(key)) == 0 && keys.size() < kMaxNamesKept) {
      std::string_view value = Trim(content.substr(equals + 1));
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
          value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
      }
      scan.value_cut[Lower(key)] = cut || value.size() > kMaxEntryBytes;
    }
    Count(key, &keys, &scan.duplicate_keys);
  }
  if (scan.byte_order_mark.starts_with("UTF-16") || zero_bytes) {
    scan.unread_encoding =
        "it holds zero bytes, as UTF-16 text does; the reader takes 8-bit text only";
  }
  return scan;
}

bool ValueWasCut(const TrackFileScan& scan, std::string_view key) {
  const auto found = scan.value_cut.find(Lower(key));
  return found != scan.value_cut.end() && found->second;
}

}  // namespace skyplate
