#include "cli/file_format.h"

#include <string_view>

#include "topdown/bmp_signature.h"

namespace skyplate {

std::string FileFormatOf(std::span<const std::uint8_t> head) {
  if (head.empty()) return "an empty file";
  if (head.size() >= 2 && head[0] == 'B' && head[1] == 'M') return {};
  // The head alone: a TGA is known only by its footer, which a check of the
  // first bytes does not read.
  const std::string_view format = OtherPictureFormat(head, {});
  if (!format.empty()) return "a " + std::string(format) + " file";
  return "not a picture format the program knows";
}

}  // namespace skyplate
