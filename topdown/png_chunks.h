// The framing of the output PNG file: signature, header, chunks and the zlib
// stream's own header and trailer, around pixel data deflated elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skyplate {

// Bytes a chunk adds around its data: length, type and CRC.
inline constexpr std::size_t kPngChunkOverhead = 12;

// True when a width x height picture fits the format: both from 1 to 2^31 - 1.
bool FitsPngFile(std::int64_t width, std::int64_t height);

// Appends one chunk: the data's length, the four-letter type, the data and
// the CRC of type and data. `size` < 2^31.
void AppendPngChunk(const char (&type)[5], const std::uint8_t* data, std::size_t size,
                    std::vector<std::uint8_t>* out);

// What comes before the deflated rows: the signature, the header of an 8-bit
// RGB picture without interlacing, and an IDAT chunk holding the zlib header.
// FitsPngFile(width, height).
std::vector<std::uint8_t> PngHead(std::int32_t width, std::int32_t height);

// What comes after them: an IDAT chunk holding the zlib stream's checksum
// (the Adler-32 of every filtered row, in order), and the closing chunk.
std::vector<std::uint8_t> PngTail(std::uint32_t adler);

}  // namespace skyplate
