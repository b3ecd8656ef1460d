// The build: from a track file to its topdown picture, in one pass.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "topdown/build_front_end.h"
#include "topdown/image_cache.h"
#include "topdown/mask_header.h"
#include "topdown/path_parts.h"
#include "topdown/picture_format.h"

namespace skyplate {

inline constexpr std::string_view kNotATrackText = "File is not a .track file.";
inline constexpr std::string_view kNotATrackCaption = "Not a track file";
inline constexpr std::string_view kMissingEntryText = "Error getting MaskMap filename";
inline constexpr std::string_view kAllDoneText = "All Done";
inline constexpr std::string_view kOutputSuffix = "_Topdown.bmp";
inline constexpr std::string_view kPngOutputSuffix = "_Topdown.png";

enum class BuildOutcome {
  kBuilt,           // the picture was written (images that failed to load read as black)
  kNotATrack,       // the path does not end in ".track"; nothing was read
  kMissingEntry,    // the track file, or one of its five TerrainMaps entries, is missing
  kNotWritten,      // the build ran to its end but wrote no file
  kImageNotLoaded,  // strict: an image could not be loaded, so nothing was written
};

struct BuildOptions {
  PathStyle path_style = kNativePathStyle;  // tests try both rule sets on every platform
  int jobs = 0;                             // compositing threads; 0: one per core
  // Composite straight from the mask file to the output file, in constant
  // memory, without a display, whatever the mask's form (one that cannot be
  // read streams as black).
  bool stream = false;
  // Where the picture goes. Empty: beside the track file, named after the
  // mask map. Ending in a separator: that folder, with the same name.
  // Otherwise: that file.
  std::string output_path;
  // An image that cannot be loaded fails the build instead of reading as
  // black; no picture is written then.
  bool strict = false;
  PictureFormat format = PictureFormat::kBmp;
  // Shared by the builds of one run that may load the same tiles; none when
  // null.
  ImageCache* image_cache = nullptr;
};

// Builds the topdown picture of the track file named by `track_path_text` (as
// typed or given on the command line, perhaps in quotes). With
// `close_on_error` 0 a path that is not a track file ends the build; with any
// other value the main window is closed and the build goes on regardless.
BuildOutcome BuildTopdown(const std::string& track_path_text, std::int32_t close_on_error,
                          BuildFrontEnd* front_end, const BuildOptions& options = {});

// The track path a build works with: one leading and one trailing double
// quote removed, and on Windows cut to the 255 bytes its path buffers hold.
std::string TrackPathFromText(std::string_view text, PathStyle style);

// What a build of a track would make, learnt from the track file and the
// mask map's header alone, so that a batch can be checked and scheduled
// before anything is built.
struct TrackPlan {
  std::string output_path;  // as the build will name it to the front end
  PictureSize size;         // 0 x 0 when the mask map gives none
};

// The plan of the build BuildTopdown(track_path_text, 0, ..., options) would
// run; none when that build would stop before writing (not a track file, or
// no MaskMap entry).
std::optional<TrackPlan> PlanTrack(const std::string& track_path_text, const BuildOptions& options);

// True when `path` ends in ".track", in any letter case.
bool HasTrackExtension(std::string_view path, PathStyle style);

// The output file's name for a MaskMap value: its name part and
// "_Topdown.bmp", or "_Topdown.png" for a PNG picture.
std::string OutputNameFor(std::string_view mask_map_value, PathStyle style,
                          PictureFormat format = PictureFormat::kBmp);

}  // namespace skyplate
