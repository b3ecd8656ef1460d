#include "topdown/image_cache.h"

namespace skyplate {
namespace {

// Enough for several sets of four tiles, resampled and as read; little
// beside the memory a streamed build keeps when no tile is found again.
constexpr std::size_t kMaxBytesHeld = std::size_t{8} << 20;

std::size_t HeldBytesOf(const std::vector<std::uint8_t>& bytes, const Bitmap& image) {
  return bytes.size() + image.pixels.size() * sizeof(Colour);
}

}  // namespace

std::optional<Bitmap> ImageCache::Find(const std::vector<std::uint8_t>& bytes, std::int32_t width,
                                       std::int32_t height) const {
  std::lock_guard lock(mutex_);
  const auto found = images_.find(std::tie(width, height, bytes));
  if (found == images_.end()) return std::nullopt;
  return found->second;
}

void ImageCache::Keep(const std::vector<std::uint8_t>& bytes, std::int32_t width,
                      std::int32_t height, const Bitmap& image) {
  const std::size_t held = HeldBytesOf(bytes, image);
  std::lock_guard lock(mutex_);
  if (bytes_held_ + held > kMaxBytesHeld) return;
  if (images_.try_emplace(Key{width, height, bytes}, image).second) bytes_held_ += held;
}

}  // namespace skyplate
