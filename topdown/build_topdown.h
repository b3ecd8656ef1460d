// The build: from a track file to its topdown picture, in one pass.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "topdown/build_front_end.h"
#include "topdown/path_parts.h"
#include "topdown/picture_writer.h"

namespace skyplate {

inline constexpr std::string_view kNotATrackText = "File is not a .track file.";
inline constexpr std::string_view kNotATrackCaption = "Not a track file";
inline constexpr std::string_view kMissingEntryText = "Error getting MaskMap filename";
inline constexpr std::string_view kAllDoneText = "All Done";
inline constexpr std::string_view kOutputSuffix = "_Topdown.bmp";
inline constexpr std::string_view kPngOutputSuffix = "_Topdown.png";

enum class BuildOutcome {
  kBuilt,         // the picture was written (images that failed to load read as black)
  kNotATrack,     // the path does not end in ".track"; nothing was read
  kMissingEntry,  // the track file, or one of its five TerrainMaps entries, is missing
  kNotWritten,    // the build ran to its end but wrote no file
};

struct BuildOptions {
  PathStyle path_style = kNativePathStyle;  // tests try both rule sets on every platform
  int jobs = 0;                             // compositing threads; 0: one per core
  // Composite straight from the mask file to the output file, in constant
  // memory, without a display; masks that cannot stream are built in memory.
  bool stream = false;
  PictureFormat format = PictureFormat::kBmp;
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

// The output file's name for a MaskMap value: its name part and
// "_Topdown.bmp", or "_Topdown.png" for a PNG picture.
std::string OutputNameFor(std::string_view mask_map_value, PathStyle style,
                          PictureFormat format = PictureFormat::kBmp);

}  // namespace skyplate
