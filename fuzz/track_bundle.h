// The fuzz input of a whole build: one byte of options, then the mask map and
// the four overlay images, separated by a marker a fuzzer finds in the seeds.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace skyplate::fuzz {

inline constexpr std::string_view kImageSeparator = "\n--next image--\n";

struct TrackBundle {
  bool stream = false;  // build as the command-line tool does, else in memory
  // MaskMap, Overlay_Base, Overlay_R, Overlay_G, Overlay_B; missing ones empty
  std::array<std::span<const std::uint8_t>, 5> images;
};

TrackBundle SplitTrackBundle(std::span<const std::uint8_t> input);

std::vector<std::uint8_t> JoinTrackBundle(bool stream,
                                          const std::array<std::vector<std::uint8_t>, 5>& images);

}  // namespace skyplate::fuzz
