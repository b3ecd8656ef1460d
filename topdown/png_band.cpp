#include "topdown/png_band.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <utility>

namespace skyplate {
namespace {

// Pixels are 3 bytes: the filters predict each byte from the same channel of
// the pixel to the left (a), the pixel above (b) and the one above-left (c).
constexpr std::size_t kPixelBytes = 3;

// Level 1 deflates about three times as fast as the default level, and on
// terrain pictures, whose textures repeat every 256 pixels, its files are
// within a few per cent of the default's.
constexpr int kDeflateLevel = 1;

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

std::uint8_t Predict(PngFilter filter, int a, int b, int c) {
  switch (filter) {
    case PngFilter::kNone:
      return 0;
    case PngFilter::kSub:
      return static_cast<std::uint8_t>(a);
    case PngFilter::kUp:
      return static_cast<std::uint8_t>(b);
    case PngFilter::kAverage:
      return static_cast<std::uint8_t>((a + b) / 2);
    case PngFilter::kPaeth:
      return Paeth(a, b, c);
  }
  return 0;
}

int SignedSize(std::uint8_t residual) {
  return std::abs(static_cast<int>(static_cast<std::int8_t>(residual)));
}

void ToRgb(const std::uint8_t* bgr, std::size_t bytes, std::uint8_t* rgb) {
  for (std::size_t i = 0; i < bytes; i += kPixelBytes) {
    rgb[i] = bgr[i + 2];
    rgb[i + 1] = bgr[i + 1];
    rgb[i + 2] = bgr[i];
  }
}

// Deflates `size` bytes as raw deflate data into `out`, ending with a final
// block when `last`, else with a sync flush onto a byte boundary.
bool Deflate(const std::uint8_t* data, std::size_t size, bool last,
             std::vector<std::uint8_t>* out) {
  z_stream stream{};
  if (deflateInit2(&stream, kDeflateLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    return false;
  }
  // Room for data that does not compress, and the flush's few bytes.
  out->resize(deflateBound(&stream, static_cast<uLong>(size)) + 16);
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  stream.next_out = out->data();
  stream.avail_out = static_cast<uInt>(out->size());
  const int status = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
  const bool done = last ? status == Z_STREAM_END : status == Z_OK && stream.avail_in == 0;
  out->resize(stream.total_out);
  deflateEnd(&stream);
  return done;
}

}  // namespace

void FilterPngRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t bytes,
                  std::uint8_t* out) {
  constexpr std::array kFilters = {PngFilter::kNone, PngFilter::kSub, PngFilter::kUp,
                                   PngFilter::kAverage, PngFilter::kPaeth};
  std::array<std::uint64_t, kFilters.size()> sums{};
  for (std::size_t i = 0; i < bytes; ++i) {
    const int a = i >= kPixelBytes ? row[i - kPixelBytes] : 0;
    const int c = i >= kPixelBytes ? above[i - kPixelBytes] : 0;
    for (std::size_t f = 0; f < kFilters.size(); ++f) {
      sums[f] +=
          SignedSize(static_cast<std::uint8_t>(row[i] - Predict(kFilters[f], a, above[i], c)));
    }
  }
  std::size_t best = 0;
  for (std::size_t f = 1; f < kFilters.size(); ++f) {
    if (sums[f] < sums[best]) best = f;
  }
  const PngFilter filter = kFilters[best];
  out[0] = static_cast<std::uint8_t>(filter);
  for (std::size_t i = 0; i < bytes; ++i) {
    const int a = i >= kPixelBytes ? row[i - kPixelBytes] : 0;
    const int c = i >= kPixelBytes ? above[i - kPixelBytes] : 0;
    out[i + 1] = static_cast<std::uint8_t>(row[i] - Predict(filter, a, above[i], c));
  }
}

bool EncodePngBand(const std::uint8_t* pixels, std::int32_t rows, std::int32_t width,
                   std::size_t stride, const std::uint8_t* above, bool last, PngSegment* segment) {
  const std::size_t bytes = kPixelBytes * static_cast<std::size_t>(width);
  const std::size_t filtered_stride = bytes + 1;
  // The top row is filtered against a row of zeros, as the format defines.
  std::vector<std::uint8_t> previous(bytes, 0);
  std::vector<std::uint8_t> current(bytes);
  if (above != nullptr) ToRgb(above, bytes, previous.data());
  std::vector<std::uint8_t> filtered(filtered_stride * static_cast<std::size_t>(rows));
  for (std::int32_t i = 0; i < rows; ++i) {
    ToRgb(pixels + static_cast<std::size_t>(rows - 1 - i) * stride, bytes, current.data());
    FilterPngRow(current.data(), previous.data(), bytes, &filtered[i * filtered_stride]);
    std::swap(previous, current);
  }
  segment->raw_bytes = filtered.size();
  segment->adler = static_cast<std::uint32_t>(
      adler32(adler32(0, nullptr, 0), filtered.data(), static_cast<uInt>(filtered.size())));
  return Deflate(filtered.data(), filtered.size(), last, &segment->deflated);
}

}  // namespace skyplate
