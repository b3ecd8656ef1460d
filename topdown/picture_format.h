// The file formats a picture can be written in, told apart by extension.
#pragma once

#include <optional>
#include <string_view>

namespace skyplate {

enum class PictureFormat { kBmp, kPng };

// The format a picture file's extension (".bmp" or ".png", any letter case) names;
// none for an extension no format has.
std::optional<PictureFormat> PictureFormatForExtension(std::string_view extension);

}  // namespace skyplate
