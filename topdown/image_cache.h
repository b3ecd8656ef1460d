// Images already decoded and resampled by earlier builds of one run, found
// again by the bytes of their files. The tracks of a batch mostly share their
// ground textures, as one file or as copies, and resampling the four tiles is
// a quarter of a small track's build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "topdown/bitmap.h"

namespace skyplate {

class ImageCache {
 public:
  // The image of file contents `bytes` at width x height, if one was kept.
  std::optional<Bitmap> Find(const std::vector<std::uint8_t>& bytes, std::int32_t width,
                             std::int32_t height) const;
  // Keeps `image` unless the cache holds as much as it may.
  void Keep(const std::vector<std::uint8_t>& bytes, std::int32_t width, std::int32_t height,
            const Bitmap& image);

 private:
  // Keyed by the whole contents, not by path or time: a file saved again
  // between two builds is a different image, and a copy is the same one.
  using Key = std::tuple<std::int32_t, std::int32_t, std::vector<std::uint8_t>>;

  mutable std::mutex mutex_;
  // Transparent, so that a lookup compares the file's bytes without a copy.
  std::map<Key, Bitmap, std::less<>> images_;
  std::size_t bytes_held_ = 0;
};

}  // namespace skyplate
