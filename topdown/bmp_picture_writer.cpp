#include "topdown/bmp_picture_writer.h"

#include "topdown/bmp_encoder.h"
#include "topdown/output_file.h"
#include "topdown/row_compositor.h"

namespace skyplate {
namespace {

class BmpPictureWriter final : public PictureWriter {
 public:
  bool Fits(PictureSize size) const override { return FitsBmpFile(size.width, size.height); }

  bool Create(const std::string& path, PictureSize size, std::string* error) override {
    if (!Fits(size)) {
      *error = "no picture to write";
      return false;
    }
    size_ = size;
    const auto header = EncodeBmpHeader(size.width, size.height);
    return file_.Create(path, error) && file_.WriteAt(0, header.data(), header.size(), error);
  }

  bool NeedsTopDownBands() const override { return false; }

  bool WriteBand(const PictureBand& band, std::string* error) override {
    // The file stores the bottom row first.
    const std::uint64_t stride = BmpStride(size_.width);
    const std::int32_t first_stored = size_.height - band.top - band.rows;
    const std::uint64_t at = kBmpHeaderBytes + stride * first_stored +
                             std::uint64_t{sizeof(BgrPixel)} * band.first_column;
    if (band.columns == 0 || band.columns == size_.width) {
      return file_.WriteAt(at, band.pixels, stride * band.rows, error);
    }
    const bool ends_row = band.first_column + band.columns == size_.width;
    const std::size_t padding = ends_row ? stride - sizeof(BgrPixel) * size_.width : 0;
    return file_.WriteAt(at, band.pixels, sizeof(BgrPixel) * band.columns + padding, error);
  }

  // Nothing waits: bands go to the file as they come.
  void Abandon() override {}

  bool Commit(std::string* error) override { return file_.Commit(error); }

 private:
  PictureSize size_;
  OutputFile file_;
};

}  // namespace

std::unique_ptr<PictureWriter> MakeBmpPictureWriter() {
  return std::make_unique<BmpPictureWriter>();
}

}  // namespace skyplate
