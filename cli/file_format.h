// Telling what kind of file an image path names when it is not a BMP, so that
// a track maker learns "a PNG file" rather than only "not a BMP".
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace skyplate {

// What the first bytes of a file say it is, as a phrase ("a PNG file", "an
// empty file"); empty when they start a BMP file ("BM").
std::string FileFormatOf(std::span<const std::uint8_t> head);

}  // namespace skyplate
