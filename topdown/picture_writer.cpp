#include "topdown/picture_writer.h"

#include "topdown/bmp_picture_writer.h"
#include "topdown/png_picture_writer.h"

namespace skyplate {

std::unique_ptr<PictureWriter> MakePictureWriter(PictureFormat format) {
  return format == PictureFormat::kPng ? MakePngPictureWriter() : MakeBmpPictureWriter();
}

}  // namespace skyplate
