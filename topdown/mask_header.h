// The picture size a build takes from its mask map's header.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace skyplate {

struct PictureSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The size a BMP header at the start of `header` gives: the 32-bit width and
// height at offsets 18 and 22, or the 16-bit ones at 18 and 20 of a file with
// the 12-byte core header. Bytes the header lacks count as zero. A negative
// height (rows stored top down) counts by its magnitude; one that has none in
// 32 bits gives 0.
PictureSize ParseMaskSize(std::span<const std::uint8_t> header);

// ParseMaskSize of the first bytes of the BMP file at `path`. False, with the
// size 0 x 0 and the reason in `error` (see FileFailureText), when the file
// cannot be opened, is no BMP, or is too short to hold the size at all.
bool ReadMaskSize(const std::string& path, PictureSize* size, std::string* error);

}  // namespace skyplate
