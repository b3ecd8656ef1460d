// Reading the image names out of a track file, an INI-style text file whose
// section TerrainMaps names the mask map and the four overlay images.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace skyplate {

inline constexpr std::string_view kTerrainSection = "TerrainMaps";
// The five entries a build reads, in its order: the mask map, then the
// overlay images of the base, red, green and blue ground.
inline constexpr std::array<std::string_view, 5> kTerrainKeys = {
    "MaskMap", "Overlay_Base", "Overlay_R", "Overlay_G", "Overlay_B"};
// What a lookup gives for a missing file, section or key. A value that reads
// "Not Found" cannot be told from a missing one, which track files never need.
inline constexpr std::string_view kNotFound = "Not Found";
// Values are cut to this many bytes, the room the game's own reader leaves.
inline constexpr std::size_t kMaxEntryBytes = 254;

// The value of `key` in section `section` of the INI text in `text`, or
// kNotFound. Section and key match without regard to ASCII case; blanks
// around keys and values and one pair of enclosing quotes are dropped; the
// first matching entry wins.
std::string FindIniEntry(std::string_view text, std::string_view section, std::string_view key);

// The text of the track file at `path`, decoded by DecodeTrackText. False
// with the reason in `error` (see FileFailureText) when it cannot be opened,
// is not a regular file, or is larger than kMaxTrackFileBytes.
bool ReadTrackText(const std::string& path, std::string* text, std::string* error);

}  // namespace skyplate
