// The BMP decoder and the resampling every overlay image goes through.

#include <cstddef>
#include <cstdint>
#include <string>

#include "topdown/bmp_decoder.h"
#include "topdown/resample.h"
#include "topdown/row_compositor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  skyplate::Bitmap picture;
  std::string error;
  if (skyplate::DecodeBmp({data, size}, &picture, &error)) {
    skyplate::ResampleAreaAverage(picture, skyplate::kTileSize, skyplate::kTileSize);
  }
  return 0;
}
