// Where a build's picture goes: an output file in one of the picture formats,
// filled band by band from any number of threads and put in place only when
// complete, so that a failed build never leaves a half-written picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "topdown/mask_header.h"
#include "topdown/picture_format.h"

namespace skyplate {

// `rows` picture rows from row `top` down (row 0 is the picture's top), laid
// out as in a BMP file: the band's bottom row first, BmpStride(width) bytes a
// row of blue, green, red bytes and zero padding. Or, where one row is too
// wide for a band, a piece of row `top`: `columns` pixels from column
// `first_column`, followed by the row's zero padding when it ends the row.
struct PictureBand {
  std::int32_t top = 0;
  std::int32_t rows = 0;
  const std::uint8_t* pixels = nullptr;
  // The picture row just above the band (the same columns of it for a
  // piece), blue, green, red; null for the top band, and may be null for
  // writers that do not ask for it.
  const std::uint8_t* row_above = nullptr;
  std::int32_t first_column = 0;
  std::int32_t columns = 0;  // 0: the whole width
};

class PictureWriter {
 public:
  virtual ~PictureWriter() = default;

  // True when the format can hold a picture of `size`.
  virtual bool Fits(PictureSize size) const = 0;
  // Starts a temporary file beside `path` for a picture of `size`; fails
  // unless Fits(size).
  virtual bool Create(const std::string& path, PictureSize size, std::string* error) = 0;
  // True when bands must be handed over from the top band down (a row's
  // pieces from the left) and each with its row above: a format that
  // compresses rows in their order. Such a
  // writer holds only a few bands that arrive early, and makes the threads
  // handing over later ones wait.
  virtual bool NeedsTopDownBands() const = 0;
  // Writes one band; safe to call from several threads at once. After a
  // failure every later call fails as well.
  virtual bool WriteBand(const PictureBand& band, std::string* error) = 0;
  // Gives up: threads waiting in WriteBand return false, and nothing is
  // written. For a build that cannot hand over every band.
  virtual void Abandon() = 0;
  // Finishes the file, once every band is written, and puts it at the path.
  virtual bool Commit(std::string* error) = 0;
};

std::unique_ptr<PictureWriter> MakePictureWriter(PictureFormat format);

}  // namespace skyplate
