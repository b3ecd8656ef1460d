#include "topdown/picture_format.h"

#include "topdown/path_parts.h"

namespace skyplate {

std::optional<PictureFormat> PictureFormatForExtension(std::string_view extension) {
  if (EqualIgnoringCase(extension, ".bmp")) return PictureFormat::kBmp;
  if (EqualIgnoringCase(extension, ".png")) return PictureFormat::kPng;
  return std::nullopt;
}

}  // namespace skyplate
