// The picture writer for PNG files: each band is filtered and deflated on the
// thread that hands it over, and the bands' segments are appended to the
// file in picture order, as one zlib stream.
#pragma once

#include <memory>

#include "topdown/picture_writer.h"

namespace skyplate {

std::unique_ptr<PictureWriter> MakePngPictureWriter();

}  // namespace skyplate
