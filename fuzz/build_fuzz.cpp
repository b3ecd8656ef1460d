// A whole build of a track whose five images come from the fuzz input. The
// build reads files, so the images are written into a private folder in
// memory-backed /dev/shm (or the temporary folder) for each input.

#include <malloc.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/track_bundle.h"
#include "topdown/build_topdown.h"
#include "topdown/limits.h"
#include "topdown/mask_header.h"
#include "topdown/silent_front_end.h"

namespace {

namespace fs = std::filesystem;

// Pictures beyond this many pixels take seconds each; the limit tests build
// them natively under a memory cap instead.
constexpr std::int64_t kMaxFuzzedPixels = std::int64_t{1} << 16;

constexpr const char* kImageNames[] = {"mask.bmp", "base.bmp", "red.bmp", "green.bmp", "blue.bmp"};

fs::path g_folder;

void RemoveFolder() {
  std::error_code ignored;
  fs::remove_all(g_folder, ignored);
}

// A build allocates and frees pictures of a few hundred KiB; left to its
// defaults, glibc maps and unmaps each one, and the page faults of refilling
// them cost more than the build itself.
void KeepFreedMemory() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

void MakeFolder() {
  std::string pattern =
      (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
      "skyplate-fuzz-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  g_folder = pattern;
  std::atexit(RemoveFolder);
  std::ofstream(g_folder / "Fuzz.track") << "[TerrainMaps]\n"
                                            "MaskMap=mask.bmp\n"
                                            "Overlay_Base=base.bmp\n"
                                            "Overlay_R=red.bmp\n"
                                            "Overlay_G=green.bmp\n"
                                            "Overlay_B=blue.bmp\n";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  KeepFreedMemory();
  MakeFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const skyplate::fuzz::TrackBundle bundle = skyplate::fuzz::SplitTrackBundle({data, size});
  const skyplate::PictureSize picture = skyplate::ParseMaskSize(bundle.images[0]);
  if (std::int64_t{picture.width} * picture.height > kMaxFuzzedPixels) return -1;
  for (std::size_t i = 0; i < bundle.images.size(); ++i) {
    std::ofstream(g_folder / kImageNames[i], std::ios::binary)
        .write(reinterpret_cast<const char*>(bundle.images[i].data()),
               static_cast<std::streamsize>(bundle.images[i].size()));
  }
  skyplate::SilentFrontEnd front_end;
  skyplate::BuildOptions options;
  options.jobs = 1;
  options.stream = bundle.stream;
  skyplate::BuildTopdown((g_folder / "Fuzz.track").string(), 0, &front_end, options);
  std::error_code ignored;
  fs::remove(g_folder / "mask_Topdown.bmp", ignored);
  return 0;
}
