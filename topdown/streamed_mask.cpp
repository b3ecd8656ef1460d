#include "topdown/streamed_mask.h"

#include <algorithm>

#include "topdown/bmp_decoder.h"
#include "topdown/bmp_pixels.h"
#include "topdown/limits.h"

namespace skyplate {
namespace {

// RLE data read from its file a chunk at a time, as the decoder moves on.
class FileRleBytes final : public RleBytes {
 public:
  FileRleBytes(const InputFile& file, std::uint64_t begin, std::uint64_t bytes)
      : file_(file), at_(begin), end_(begin + bytes), chunk_start_(begin) {}

  std::span<const std::uint8_t> Peek(std::size_t count) override {
    if (at_ + count > chunk_start_ + chunk_.size() && chunk_start_ + chunk_.size() < end_) {
      chunk_start_ = at_;
      const auto wanted = static_cast<std::size_t>(
          std::min<std::uint64_t>(std::max(count, kChunkBytes), end_ - at_));
      chunk_.resize(wanted);
      chunk_.resize(file_.ReadAt(at_, chunk_.data(), wanted));
      // A file cut short since it was measured ends the data where it ends.
      if (chunk_.size() < wanted) end_ = at_ + chunk_.size();
    }
    return std::span(chunk_).subspan(static_cast<std::size_t>(at_ - chunk_start_));
  }

  void Skip(std::size_t count) override { at_ = std::min(end_, at_ + count); }

 private:
  // Much longer than any one command (at most 2 + 128 bytes).
  static constexpr std::size_t kChunkBytes = 64 * 1024;

  const InputFile& file_;
  std::uint64_t at_;
  std::uint64_t end_;
  std::uint64_t chunk_start_;
  std::vector<std::uint8_t> chunk_;
};

}  // namespace

bool StreamedMask::Open(const std::string& path, PictureSize size, std::string* reason) {
  kind_ = Kind::kBlack;
  if (!file_.Open(path, reason)) return false;
  std::vector<std::uint8_t> head(kBmpHeadBytes);
  head.resize(file_.ReadAt(0, head.data(), head.size()));
  const std::uint64_t file_size = file_.size();
  if (!ReadBmpHeader(head, &header_, reason, kMaxStreamedPixels) ||
      !CheckPixelData(header_, file_size, reason)) {
    return false;
  }
  // The build took the size from the same header, read a moment before.
  if (header_.width != size.width || header_.height != size.height) {
    *reason = "the file changed while it was read";
    return false;
  }
  data_bytes_ = PixelDataBytes(header_, file_size);
  kind_ = IsRle(header_) ? Kind::kRle : Kind::kRows;
  return true;
}

bool StreamedMask::ReadBand(const Band& band, MaskScratch* scratch, MaskRows* rows,
                            std::string* error) const {
  const std::uint64_t stride = header_.row_stride;
  const auto bits = static_cast<std::uint64_t>(header_.bits_per_pixel);
  // Bands start on a whole byte of any row: at a multiple of the tile size.
  const std::uint64_t piece_offset = band.first_column * bits / 8;
  const std::uint64_t piece_bytes = (band.columns * bits + 7) / 8;
  const auto bytes = static_cast<std::size_t>((band.rows - 1) * stride + piece_bytes);
  const std::int32_t first_file_row =
      header_.top_down ? header_.height - band.first_row - band.rows : band.first_row;
  scratch->file_bytes.resize(bytes);
  std::uint8_t* data = scratch->file_bytes.data();
  if (file_.ReadAt(header_.pixel_offset + first_file_row * stride + piece_offset, data, bytes) !=
      bytes) {
    *error = "cannot read the file";
    return false;
  }
  // Output rows go bottom up; a top-down file holds the band's rows reversed.
  const auto pitch = static_cast<std::ptrdiff_t>(stride);
  const std::uint8_t* first = header_.top_down ? data + (band.rows - 1) * pitch : data;
  const std::ptrdiff_t step = header_.top_down ? -pitch : pitch;
  if (header_.format == BmpPixelFormat::kBgr24) {
    *rows = {first, step};
    return true;
  }
  const auto columns = static_cast<std::size_t>(band.columns);
  scratch->colours.resize(columns);
  scratch->pixels.resize(band.rows * columns);
  for (std::int32_t i = 0; i < band.rows; ++i) {
    Colour* colours = scratch->colours.data();
    if (!DecodeRow(header_, first + i * step, band.columns, colours, error)) return false;
    BgrPixel* out = &scratch->pixels[i * columns];
    for (std::size_t x = 0; x < columns; ++x) {
      out[x] = {BlueOf(colours[x]), GreenOf(colours[x]), RedOf(colours[x])};
    }
  }
  *rows = {reinterpret_cast<const std::uint8_t*>(scratch->pixels.data()),
           static_cast<std::ptrdiff_t>(columns * sizeof(BgrPixel))};
  return true;
}

bool StreamedMask::DecodeAll(RleSink* sink, std::string* error) const {
  FileRleBytes data(file_, header_.pixel_offset, data_bytes_);
  return DecodeRle(header_, &data, sink, error);
}

}  // namespace skyplate
