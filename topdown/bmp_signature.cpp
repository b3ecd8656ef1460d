#include "topdown/bmp_signature.h"

#include <algorithm>
#include <array>

namespace skyplate {
namespace {

// `bytes` at `offset`, after the container's own tag at the start, if any.
struct Signature {
  std::string_view container;
  std::size_t offset;
  std::string_view bytes;
  std::string_view format;
};

using namespace std::string_view_literals;

// Enough of each format's magic number that no text file or BMP matches it.
// WebP files are RIFF files; other RIFF files (WAV, AVI) are no pictures.
constexpr std::array kSignatures = {
    Signature{""sv, 0, "\x89PNG\r\n\x1A\n"sv, "PNG"},
    Signature{""sv, 0, "\xFF\xD8\xFF"sv, "JPEG"},
    Signature{""sv, 0, "GIF87a"sv, "GIF"},
    Signature{""sv, 0, "GIF89a"sv, "GIF"},
    Signature{""sv, 0, "II*\0"sv, "TIFF"},
    Signature{""sv, 0, "MM\0*"sv, "TIFF"},
    Signature{"RIFF"sv, 8, "WEBP"sv, "WebP"},
    Signature{""sv, 0, "DDS "sv, "DDS"},
    Signature{""sv, 0, "8BPS"sv, "PSD"},
};

// A TGA file has no signature at its start; version 2 files end with this.
constexpr std::string_view kTgaFooter = "TRUEVISION-XFILE.\0"sv;

constexpr std::size_t kHeadBytes = 12;

bool Holds(std::span<const std::uint8_t> bytes, std::size_t offset, std::string_view wanted) {
  return bytes.size() >= offset + wanted.size() &&
         std::equal(wanted.begin(), wanted.end(), bytes.begin() + offset,
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

}  // namespace

std::string_view OtherPictureFormat(std::span<const std::uint8_t> head,
                                    std::span<const std::uint8_t> tail) {
  for (const Signature& signature : kSignatures) {
    if (Holds(head, 0, signature.container) && Holds(head, signature.offset, signature.bytes)) {
      return signature.format;
    }
  }
  if (tail.size() >= kTgaFooter.size() && Holds(tail.last(kTgaFooter.size()), 0, kTgaFooter)) {
    return "TGA";
  }
  return {};
}

bool CheckBmpSignature(const InputFile& file, std::string* error) {
  if (file.size() == 0) {
    *error = "is empty";
    return false;
  }
  std::array<std::uint8_t, kHeadBytes> head{};
  const std::size_t head_size = file.ReadAt(0, head.data(), head.size());
  if (head_size >= 2 && head[0] == 'B' && head[1] == 'M') return true;
  std::array<std::uint8_t, kTgaFooter.size()> tail{};
  const std::uint64_t tail_offset = file.size() - std::min<std::uint64_t>(file.size(), tail.size());
  const std::size_t tail_size = file.ReadAt(tail_offset, tail.data(), tail.size());
  const std::string_view format =
      OtherPictureFormat(std::span(head.data(), head_size), std::span(tail.data(), tail_size));
  if (format.empty()) {
    *error = "not a BMP file (no BM signature)";
  } else {
    *error = "is a " + std::string(format) + " file, not a BMP: save it as a 24-bit BMP";
  }
  return false;
}

}  // namespace skyplate
