// Compositing straight from the mask file into the output file, a band of
// rows at a time, so that memory stays the same whatever the picture's size.
#pragma once

#include <functional>
#include <string>

#include "topdown/build_front_end.h"
#include "topdown/limits.h"
#include "topdown/mask_header.h"
#include "topdown/picture_format.h"
#include "topdown/row_compositor.h"

namespace skyplate {

enum class StreamOutcome {
  kWritten,       // the picture is in place at the output path
  kCannotStream,  // nothing written: the picture is too large for its format,
                  // or a PNG's mask is run-length encoded
  kNotWritten,    // the output could not be written; `error` says why
  kStopped,       // nothing written: told that the mask reads as black, the
                  // caller asked to stop
};

// Told why the mask reads as black, once for each reason; false stops the
// build before anything is put in place.
using MaskNotLoaded = std::function<bool(const std::string& reason)>;

// Composites the picture of the mask file at `mask_path` with the tiles and
// writes it to `output_path` in `format`, on `jobs` threads, in memory that
// does not grow with the picture. `size` is the one the mask's header
// gave the build; a mask that cannot be read or decoded reads as black at
// that size. Progress goes to the front end as it goes.
StreamOutcome StreamComposite(const std::string& mask_path, PictureSize size,
                              const OverlayTiles& tiles, const std::string& output_path,
                              PictureFormat format, int jobs, BuildFrontEnd* front_end,
                              const MaskNotLoaded& mask_not_loaded, std::string* error);

}  // namespace skyplate
