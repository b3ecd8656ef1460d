#include "tests/png_reader.h"

#include <zlib.h>

#include <cstring>

namespace skyplate::testing {
namespace {

std::uint32_t BigEndian(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

bool Inflate(const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>* out,
             std::string* error) {
  z_stream stream{};
  inflateInit(&stream);
  stream.next_in = const_cast<Bytef*>(in.data());
  stream.avail_in = static_cast<uInt>(in.size());
  stream.next_out = out->data();
  stream.avail_out = static_cast<uInt>(out->size());
  // Z_STREAM_END only after the Adler-32 at the end has matched.
  const int status = inflate(&stream, Z_FINISH);
  const bool whole = status == Z_STREAM_END && stream.avail_in == 0 && stream.avail_out == 0;
  if (!whole) {
    *error = "zlib stream: status " + std::to_string(status) + ", " +
             std::to_string(stream.avail_in) + " bytes left over, " +
             std::to_string(stream.avail_out) + " bytes missing";
  }
  inflateEnd(&stream);
  return whole;
}

}  // namespace

bool ReadPng(const std::vector<std::uint8_t>& file, PngContents* contents, std::string* error) {
  static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) {
    *error = "no PNG signature";
    return false;
  }
  std::vector<std::uint8_t> header;
  std::vector<std::uint8_t> zlib_stream;
  for (std::size_t at = 8; at < file.size();) {
    if (file.size() - at < 12) {
      *error = "a chunk runs past the end";
      return false;
    }
    const std::uint32_t length = BigEndian(&file[at]);
    if (length > file.size() - at - 12) {
      *error = "a chunk's length runs past the end";
      return false;
    }
    const std::uint8_t* type = &file[at + 4];
    const std::uint8_t* data = type + 4;
    const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, type, length + 4));
    const std::string name(type, type + 4);
    if (crc != BigEndian(data + length)) {
      *error = "bad CRC on chunk " + name;
      return false;
    }
    contents->chunks.push_back(name);
    if (name == "IHDR") header.assign(data, data + length);
    if (name == "IDAT") zlib_stream.insert(zlib_stream.end(), data, data + length);
    at += 12 + length;
  }
  const auto& chunks = contents->chunks;
  if (chunks.size() < 3 || chunks.front() != "IHDR" || chunks.back() != "IEND" ||
      header.size() != 13) {
    *error = "not IHDR first and IEND last";
    return false;
  }
  const std::uint32_t width = BigEndian(&header[0]);
  const std::uint32_t height = BigEndian(&header[4]);
  const std::uint8_t layout[] = {8, 2, 0, 0, 0};
  if (width == 0 || height == 0 || std::uint64_t{width} * height > 1 << 24 ||
      std::memcmp(&header[8], layout, 5) != 0) {
    *error = "not an 8-bit RGB non-interlaced picture of a test's size";
    return false;
  }
  const std::size_t row_bytes = 3 * std::size_t{width} + 1;
  std::vector<std::uint8_t> rows(row_bytes * height);
  if (!Inflate(zlib_stream, &rows, error)) return false;

  Bitmap& picture = contents->picture;
  picture = Bitmap::Blank(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
  std::vector<std::uint8_t> above(row_bytes - 1, 0);
  for (std::uint32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = &rows[y * row_bytes];
    if (row[0] != 0 && row[0] != 2) {
      *error = "row " + std::to_string(y) + " has filter " + std::to_string(row[0]);
      return false;
    }
    contents->filters.push_back(row[0]);
    for (std::size_t i = 0; i + 1 < row_bytes; ++i) {
      above[i] = static_cast<std::uint8_t>(row[i + 1] + (row[0] == 2 ? above[i] : 0));
    }
    for (std::uint32_t x = 0; x < width; ++x) {
      picture.Set(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                  MakeColour(above[3 * x], above[3 * x + 1], above[3 * x + 2]));
    }
  }
  return true;
}

}  // namespace skyplate::testing
