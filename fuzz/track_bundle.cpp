#include "fuzz/track_bundle.h"

#include <algorithm>

namespace skyplate::fuzz {

TrackBundle SplitTrackBundle(std::span<const std::uint8_t> input) {
  TrackBundle bundle;
  if (input.empty()) return bundle;
  bundle.stream = (input[0] & 1) != 0;
  input = input.subspan(1);
  for (std::span<const std::uint8_t>& image : bundle.images) {
    const auto end =
        std::search(input.begin(), input.end(), kImageSeparator.begin(), kImageSeparator.end());
    image = std::span(input.begin(), end);
    const std::size_t used =
        image.size() + std::min(kImageSeparator.size(), input.size() - image.size());
    input = input.subspan(used);
  }
  return bundle;
}

std::vector<std::uint8_t> JoinTrackBundle(bool stream,
                                          const std::array<std::vector<std::uint8_t>, 5>& images) {
  std::vector<std::uint8_t> input = {static_cast<std::uint8_t>(stream ? 1 : 0)};
  for (std::size_t i = 0; i < images.size(); ++i) {
    if (i > 0) input.insert(input.end(), kImageSeparator.begin(), kImageSeparator.end());
    input.insert(input.end(), images[i].begin(), images[i].end());
  }
  return input;
}

}  // namespace skyplate::fuzz
