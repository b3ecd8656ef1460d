// What a track file's text holds beyond its entries' values: the things
// that make a track behave other than its maker thinks.
#pragma once

#include <cstddef>
#include <istream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace skyplate {

struct TrackFileScan {
  std::string byte_order_mark;  // "UTF-8", "UTF-16 LE", "UTF-16 BE"; empty: none
  std::string unread_encoding;  // why the reader cannot take the text; empty: it can
  std::vector<std::string> duplicate_sections;  // each section given more than once
  std::vector<std::string> duplicate_keys;      // keys of [TerrainMaps] given again
  std::vector<std::size_t> cut_lines;           // numbers of lines cut at the line limit
  // Lower-case key of [TerrainMaps]: its first value ran past the entry limit.
  std::map<std::string, bool> value_cut;
};

// Scans the text of a track file the way the reader reads it: lines split at
// '\n' and cut at the line limit, names compared without regard to case.
// Memory stays bounded whatever the text holds.
TrackFileScan ScanTrackText(std::istream& text);

// "UTF-8", "UTF-16 LE" or "UTF-16 BE" for the byte-order mark `head` starts
// with; empty without one.
std::string ByteOrderMarkOf(std::string_view head);

// Whether the first value of `key` in [TerrainMaps] was cut short.
bool ValueWasCut(const TrackFileScan& scan, std::string_view key);

}  // namespace skyplate
