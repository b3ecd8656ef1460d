// A pixel colour in the layout every part of the builder uses: byte 0 red,
// byte 1 green, byte 2 blue, byte 3 spare (0x00BBGGRR as a number), which is
// also the layout of a Win32 COLORREF.
#pragma once

#include <cstdint>

namespace skyplate {

using Colour = std::uint32_t;

constexpr Colour MakeColour(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}
constexpr std::uint8_t RedOf(Colour c) {
  return static_cast<std::uint8_t>(c);
}
constexpr std::uint8_t GreenOf(Colour c) {
  return static_cast<std::uint8_t>(c >> 8);
}
constexpr std::uint8_t BlueOf(Colour c) {
  return static_cast<std::uint8_t>(c >> 16);
}

}  // namespace skyplate
