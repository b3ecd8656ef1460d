// Compositing straight from the mask file into the output file, a band of
// rows at a time, so that memory stays the same whatever the picture's size.
#pragma once

#include <string>

#include "topdown/build_front_end.h"
#include "topdown/limits.h"
#include "topdown/mask_header.h"
#include "topdown/picture_writer.h"
#include "topdown/row_compositor.h"

namespace skyplate {

enum class StreamOutcome {
  kWritten,       // the picture is in place at the output path
  kCannotStream,  // nothing written: the mask is not an uncompressed BMP of
                  // the expected size, or turned out damaged
  kNotWritten,    // the output could not be written; `error` says why
};

// Composites the picture of the mask file at `mask_path` with the tiles and
// writes it to `output_path` in `format`, on `jobs` threads. The mask's
// header must give `size`. Progress goes to the front end as it goes.
StreamOutcome StreamComposite(const std::string& mask_path, PictureSize size,
                              const OverlayTiles& tiles, const std::string& output_path,
                              PictureFormat format, int jobs, BuildFrontEnd* front_end,
                              std::string* error);

}  // namespace skyplate
