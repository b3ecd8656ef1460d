// What the display window costs a build: in-memory compositings of one
// synthetic picture, alternately with a real display window and with a front
// end that shows nothing, timed in one process. The very first build of the
// process is one with a display, as in the program, and is reported apart.
//   display-bench [BUILDS [SIZE]]      (default: 5 each way, 4096 pixels a side)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/timed_display_front_end.h"
#include "tools/track_generator.h"
#include "topdown/compositing.h"
#include "topdown/worker_pool.h"

namespace skyplate {
namespace {

struct Timing {
  Seconds total, opening, refreshing;
  bool opened;
};

Timing TimeBuild(const Bitmap& mask, const OverlayTiles& tiles, bool with_display) {
  Bitmap result = Bitmap::Blank(mask.width, mask.height);
  TimedDisplayFrontEnd front_end(with_display);
  const auto start = Clock::now();
  CompositeTerrain(mask, tiles, &result, &front_end, DefaultJobs());
  return {Clock::now() - start, front_end.opening(), front_end.refreshing(), front_end.opened()};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int Run(int builds, std::int32_t size) {
  const Bitmap mask = tools::MakeMask(size, size, tools::MaskKind::kTerrain, 1);
  OverlayTiles tiles;
  for (int ground = 0; ground < 4; ++ground) tiles[ground] = tools::MakeTexture(ground, 256, 7);

  // The program's main window exists before its first build; a stand-in
  // here keeps the window system's start-up out of the first build's time.
  HWND main_window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
  std::printf("%d x %d, %d jobs, %d builds each way, alternating, with a display first\n", size,
              size, DefaultJobs(), builds);
  // With a display, also the time spent opening and refreshing it.
  std::printf("%5s %10s %8s %8s %13s\n", "build", "display s", "open s", "refresh", "no display s");
  std::vector<double> shown, hidden;
  for (int i = 0; i < builds; ++i) {
    const Timing with = TimeBuild(mask, tiles, true);
    if (!with.opened) {
      DestroyWindow(main_window);
      std::fprintf(stderr, "display-bench: no display window could be opened (DISPLAY set?)\n");
      return 1;
    }
    const Timing without = TimeBuild(mask, tiles, false);
    shown.push_back(with.total.count());
    hidden.push_back(without.total.count());
    std::printf("%5d %10.3f %8.3f %8.3f %13.3f\n", i + 1, with.total.count(), with.opening.count(),
                with.refreshing.count(), without.total.count());
  }
  DestroyWindow(main_window);
  const double median_hidden = Median(hidden);
  std::printf("median: display %.3f s, no display %.3f s, ratio %.2f\n", Median(shown),
              median_hidden, Median(shown) / median_hidden);
  std::printf("first build of the process (display): %.3f s, ratio %.2f\n", shown.front(),
              shown.front() / median_hidden);
  return 0;
}

}  // namespace
}  // namespace skyplate

int main(int argc, char** argv) {
  const int builds = argc > 1 ? std::atoi(argv[1]) : 5;
  const std::int32_t size = argc > 2 ? std::atoi(argv[2]) : 4096;
  if (builds < 1 || size < 1 || !skyplate::FitsInMemory(size, size)) {
    std::fprintf(stderr, "usage: display-bench [BUILDS [SIZE]]\n");
    return 2;
  }
  return skyplate::Run(builds, size);
}
