// The picture writer for BMP files: every band goes straight to its place in
// the file, in whatever order bands come.
#pragma once

#include <memory>

#include "topdown/picture_writer.h"

namespace skyplate {

std::unique_ptr<PictureWriter> MakeBmpPictureWriter();

}  // namespace skyplate
