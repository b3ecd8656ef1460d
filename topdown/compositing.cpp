#include "topdown/compositing.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "topdown/blend.h"
#include "topdown/worker_pool.h"

namespace skyplate {

Colour ComposePixel(Colour mask, Colour base, Colour red, Colour green, Colour blue) {
  Colour c = BlendColors(base, red, BlendPercent(RedOf(mask)));
  c = BlendColors(c, green, BlendPercent(GreenOf(mask)));
  return BlendColors(c, blue, BlendPercent(BlueOf(mask)));
}

std::int32_t DisplaySize(std::int32_t picture_size) {
  // round(n / 3): a third is never exactly half-way between two integers.
  // Pictures here are never of negative size.
  return (picture_size + 1) / 3;
}

namespace {

// Rows a job takes of a band at a time: enough that taking them costs
// nothing beside composing them, few enough that jobs finish a band together.
constexpr std::int32_t kChunkRows = 64;

// The columns of each band, ending where the display is refreshed: column 0,
// then 1..16, 17..32 and so on, and a last band after the last such column,
// empty when that column ends the picture.
struct Columns {
  std::int32_t first, last;  // inclusive; first > last for none
};

std::vector<Columns> RefreshBands(std::int32_t width) {
  std::vector<Columns> bands;
  std::int32_t first = 0;
  for (std::int32_t point = 0; point < width; point += kRefreshPeriod) {
    bands.push_back({first, point});
    first = point + 1;
  }
  bands.push_back({first, width - 1});
  return bands;
}

// How far the jobs have got. Jobs move on to the next band as soon as the
// rows of one are all taken, with no pause for the others, so that bands cost
// no waiting on each other; each band counts its composed rows instead.
struct BandProgress {
  explicit BandProgress(std::size_t bands) : next_chunk(bands), rows_done(bands) {}
  std::vector<std::atomic<std::int32_t>> next_chunk;
  std::vector<std::atomic<std::int32_t>> rows_done;
  std::atomic<bool> abandoned{false};  // a job failed: nobody waits for its rows
};

}  // namespace

// `result` may be `mask` itself: each pixel is composited from its own mask
// pixel alone, read before it is written.
void CompositeTerrain(const Bitmap& mask, const OverlayTiles& tiles, Bitmap* result,
                      BuildFrontEnd* front_end, int jobs) {
  front_end->OpenDisplay(DisplaySize(result->width), DisplaySize(result->height));
  const RowCompositor compositor(tiles);
  WorkerPool pool(jobs);
  // An empty mask (one that failed to load) reads as black: one black row
  // serves every row.
  const std::vector<Colour> black_row(mask.empty() ? result->width : 0, 0);
  const std::vector<Columns> bands = RefreshBands(result->width);
  const std::int32_t height = result->height;
  const std::int32_t chunks = (height + kChunkRows - 1) / kChunkRows;
  BandProgress progress(bands.size());
  const auto complete = [&](std::size_t b) {
    return progress.rows_done[b].load(std::memory_order_acquire) == height;
  };
  // A refresh also reads a few columns past its band, those the display's
  // pixels on its right edge cover, so it waits until the next band is
  // complete too: no job is then writing what it reads.
  std::size_t refreshed = 0;
  const auto refresh_ready = [&] {
    while (refreshed < bands.size() && complete(refreshed) &&
           (refreshed + 1 == bands.size() || complete(refreshed + 1))) {
      front_end->RefreshDisplay(*result, bands[refreshed].first, bands[refreshed].last);
      ++refreshed;
    }
  };
  pool.Run(pool.jobs(), [&](int job, std::int64_t, std::int64_t) {
    try {
      for (std::size_t b = 0; b < bands.size(); ++b) {
        for (std::int32_t chunk; (chunk = progress.next_chunk[b]++) < chunks;) {
          const std::int32_t top = chunk * kChunkRows;
          const std::int32_t bottom = std::min(height, top + kChunkRows);
          for (std::int32_t y = top; y < bottom; ++y) {
            const Colour* mask_row = mask.empty() ? black_row.data() : mask.Row(y);
            compositor.ComposeColours(mask_row, y, bands[b].first, bands[b].last, result->Row(y));
          }
          progress.rows_done[b].fetch_add(bottom - top, std::memory_order_release);
          // The refreshes come from the calling thread, in order, as their
          // bands complete; it composes fewer rows while it draws.
          if (job == 0) refresh_ready();
        }
      }
      if (job != 0) return;
      while (refreshed < bands.size() && !progress.abandoned) {
        refresh_ready();
        if (refreshed < bands.size()) std::this_thread::yield();
      }
    } catch (...) {
      progress.abandoned = true;
      throw;
    }
  });
}

}  // namespace skyplate
