// Where the GUI's in-memory build spends its time: its stages, run one after
// another as the build runs them, each timed, with a real display window.
//   build-stages TRACK_FOLDER [RUNS]   (a folder made by make-track)
// Prints the median of RUNS (default 3) for each stage.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "bench/timed_display_front_end.h"
#include "topdown/bitmap_loader.h"
#include "topdown/bitmap_writer.h"
#include "topdown/compositing.h"
#include "topdown/worker_pool.h"

namespace skyplate {
namespace {

constexpr const char* kTileFiles[] = {"tiles\\sand.bmp", "tiles\\rock.bmp", "tiles\\grass.bmp",
                                      "tiles\\water.bmp"};
constexpr const char* kStages[] = {"load tiles", "load mask",    "make result", "composite",
                                   "  opening",  "  refreshing", "write",       "total"};
constexpr int kStageCount = sizeof kStages / sizeof kStages[0];

double Elapsed(Clock::time_point start) {
  return Seconds(Clock::now() - start).count();
}

bool RunOnce(const std::string& folder, double* times) {
  std::string error;
  const auto begin = Clock::now();
  auto start = begin;
  OverlayTiles tiles;
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    if (!LoadBitmapFile(folder + kTileFiles[i], kTileSize, kTileSize, &tiles[i], &error)) {
      std::fprintf(stderr, "build-stages: %s%s: %s\n", folder.c_str(), kTileFiles[i],
                   error.c_str());
      return false;
    }
  }
  times[0] = Elapsed(start);
  start = Clock::now();
  Bitmap mask;
  if (!LoadBitmapFile(folder + "Hill_mask.bmp", 0, 0, &mask, &error)) {
    std::fprintf(stderr, "build-stages: mask: %s\n", error.c_str());
    return false;
  }
  times[1] = Elapsed(start);
  start = Clock::now();
  // Composited over the mask, as the build does.
  Bitmap result = std::move(mask);
  times[2] = Elapsed(start);
  {
    TimedDisplayFrontEnd front_end(true);
    start = Clock::now();
    CompositeTerrain(result, tiles, &result, &front_end, DefaultJobs());
    times[3] = Elapsed(start);
    times[4] = front_end.opening().count();
    times[5] = front_end.refreshing().count();
  }
  start = Clock::now();
  if (!SavePictureFile(result, folder + "stages_Topdown.bmp", PictureFormat::kBmp, DefaultJobs(),
                       &error)) {
    std::fprintf(stderr, "build-stages: write: %s\n", error.c_str());
    return false;
  }
  times[6] = Elapsed(start);
  times[7] = Elapsed(begin);
  return true;
}

int Run(const std::string& folder, int runs) {
  // The program's main window exists before its first build.
  HWND main_window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
  std::vector<std::vector<double>> times(kStageCount);
  for (int r = 0; r < runs; ++r) {
    double one[kStageCount];
    if (!RunOnce(folder, one)) return 1;
    for (int s = 0; s < kStageCount; ++s) times[s].push_back(one[s]);
  }
  DestroyWindow(main_window);
  std::printf("%d jobs, median of %d\n", DefaultJobs(), runs);
  for (int s = 0; s < kStageCount; ++s) {
    std::sort(times[s].begin(), times[s].end());
    std::printf("%-14s %8.3f s\n", kStages[s], times[s][times[s].size() / 2]);
  }
  return 0;
}

}  // namespace
}  // namespace skyplate

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: build-stages TRACK_FOLDER [RUNS]\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  return skyplate::Run(folder, runs);
}
