#include "cli/file_format.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace skyplate {
namespace {

using namespace std::string_view_literals;

struct Signature {
  std::string_view bytes;
  std::string_view phrase;
};

// The formats a painting program is likely to have saved instead.
constexpr std::array<Signature, 9> kSignatures = {{
    {"\x89PNG\r\n\x1a\n"sv, "a PNG file"},
    {"\xff\xd8\xff"sv, "a JPEG file"},
    {"GIF8"sv, "a GIF file"},
    {"II*"sv, "a TIFF file"},
    {"MM\0*"sv, "a TIFF file"},
    {"DDS "sv, "a DDS file"},
    {"8BPS"sv, "a Photoshop file"},
    {"RIFF"sv, "a RIFF file (such as WebP)"},
    {"PK\x03\x04"sv, "a ZIP archive"},
}};

bool StartsWith(std::span<const std::uint8_t> head, std::string_view bytes) {
  return head.size() >= bytes.size() &&
         std::equal(bytes.begin(), bytes.end(), head.begin(),
                    [](char b, std::uint8_t h) { return static_cast<std::uint8_t>(b) == h; });
}

}  // namespace

std::string FileFormatOf(std::span<const std::uint8_t> head) {
  if (head.empty()) return "an empty file";
  if (StartsWith(head, "BM")) return {};
  for (const Signature& signature : kSignatures) {
    if (StartsWith(head, signature.bytes)) return std::string(signature.phrase);
  }
  return "not a picture format the program knows";
}

}  // namespace skyplate
