// Resampling of overlay images to tiles, at the sizes a synthetic track uses
// and at a few that stress one axis.
//   resample-bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <cstdint>

#include "topdown/resample.h"

namespace {

skyplate::Bitmap Noise(std::int32_t width, std::int32_t height) {
  skyplate::Bitmap picture = skyplate::Bitmap::Blank(width, height);
  std::uint32_t state = 12345;
  for (skyplate::Colour& pixel : picture.pixels) {
    state = state * 1664525 + 1013904223;
    pixel = state >> 8;
  }
  return picture;
}

void BM_ResampleToTile(benchmark::State& state) {
  const skyplate::Bitmap source =
      Noise(static_cast<std::int32_t>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(skyplate::ResampleAreaAverage(source, 256, 256));
  }
}
BENCHMARK(BM_ResampleToTile)
    ->Unit(benchmark::kMicrosecond)
    ->Args({512, 512})
    ->Args({128, 128})
    ->Args({300, 300})
    ->Args({100, 80})
    ->Args({1024, 1024})
    ->Args({257, 255});

}  // namespace

BENCHMARK_MAIN();
