#include "topdown/picture_format.h"

#include "topdown/path_parts.h"

namespace skyplate {

std::optional<PictureFormat> PictureFormatForExtension(std::string_view extension) {
  if (EqualIgnoringCase(extension, ".bmp")) return PictureFormat::kBmp;
  return std::nullopt;
}

}  // namespace skyplate
