// Telling a BMP file from the other picture formats people save their masks
// and overlays in, before any of its header is trusted.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "topdown/input_file.h"

namespace skyplate {

// The name of the picture format whose signature starts `head` ("PNG",
// "JPEG", "GIF", "TIFF", "WebP", "DDS", "PSD"), or that of a TGA file whose
// footer ends `tail`; empty when neither is known.
std::string_view OtherPictureFormat(std::span<const std::uint8_t> head,
                                    std::span<const std::uint8_t> tail);

// True when `file` starts with a BMP's "BM" signature. Otherwise false with
// why not in `error`: empty, another picture format (and what to do about
// it), or no BMP at all.
bool CheckBmpSignature(const InputFile& file, std::string* error);

}  // namespace skyplate
