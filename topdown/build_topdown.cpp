#include "topdown/build_topdown.h"

#include <array>
#include <fstream>
#include <new>

#include "topdown/bitmap_loader.h"
#include "topdown/bitmap_writer.h"
#include "topdown/compositing.h"
#include "topdown/input_path.h"
#include "topdown/mask_header.h"
#include "topdown/streamed_compositing.h"
#include "topdown/track_file.h"
#include "topdown/worker_pool.h"

namespace skyplate {
namespace {

// Windows path buffers hold 255 bytes and a terminating zero.
constexpr std::size_t kWindowsPathBytes = 255;

constexpr std::array<std::string_view, 4> kOverlayKeys = {"Overlay_Base", "Overlay_R", "Overlay_G",
                                                          "Overlay_B"};
constexpr std::string_view kMaskKey = "MaskMap";

bool IsTrackExtension(std::string extension) {
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return extension == ".track";
}

// Reads one entry; on a missing one tells the user and gives false.
bool ReadEntry(const std::string& track_path, std::string_view key, BuildFrontEnd* front_end,
               std::string* value) {
  *value = ReadTrackEntry(track_path, key);
  if (*value != kNotFound) return true;
  std::string detail;
  if (!std::ifstream(track_path, std::ios::binary)) {
    detail = track_path + ": cannot open the track file";
  } else {
    detail = track_path + ": no entry " + std::string(key) + " in section [" +
             std::string(kTerrainSection) + "]";
  }
  front_end->ShowMessage(std::string(kMissingEntryText), std::nullopt, detail);
  return false;
}

// Loads an image by the build's loading rule; one that cannot be loaded reads
// as black, and the front end hears why.
Bitmap LoadOrBlack(std::string_view key, const std::string& path, std::int32_t width,
                   std::int32_t height, BuildFrontEnd* front_end) {
  Bitmap bitmap;
  std::string error;
  if (LoadBitmapFile(ResolveInputPath(path), width, height, &bitmap, &error)) return bitmap;
  front_end->ImageNotLoaded(key, path, error);
  return Bitmap::Blank(width, height);
}

// The build with the whole picture in memory, as the display needs it.
// `tiles` are loaded here unless a try at streaming loaded them already.
template <typename LoadTiles>
bool BuildInMemory(const std::string& mask_path, PictureSize size, const std::string& output_path,
                   PictureFormat format, int jobs, BuildFrontEnd* front_end, OverlayTiles* tiles,
                   const LoadTiles& load_tiles, std::string* error) {
  const bool buildable = FitsInMemory(size.width, size.height);
  Bitmap mask;
  Bitmap result;
  if (buildable) {
    mask = LoadOrBlack(kMaskKey, mask_path, size.width, size.height, front_end);
    if ((*tiles)[0].empty()) *tiles = load_tiles();
    result = Bitmap::Blank(size.width, size.height);
  }
  CompositeTerrain(mask, *tiles, &result, front_end, jobs);
  if (!buildable) {
    *error = size.width <= 0 || size.height <= 0
                 ? "the mask map " + mask_path + " gives no picture size"
                 : "a picture of " + std::to_string(size.width) + " x " +
                       std::to_string(size.height) + " pixels is too large to build in memory";
    return false;
  }
  return SavePictureFile(result, output_path, format, jobs, error);
}

}  // namespace

std::string TrackPathFromText(std::string_view text, PathStyle style) {
  if (!text.empty() && text.front() == '"') text.remove_prefix(1);
  if (!text.empty() && text.back() == '"') text.remove_suffix(1);
  // Elsewhere no such buffer exists, and cutting a valid deeper path would
  // refuse it wrongly.
  if (style == PathStyle::kWindows) text = text.substr(0, kWindowsPathBytes);
  return std::string(text);
}

std::string OutputNameFor(std::string_view mask_map_value, PathStyle style, PictureFormat format) {
  return SplitPath(mask_map_value, style).name +
         std::string(format == PictureFormat::kPng ? kPngOutputSuffix : kOutputSuffix);
}

BuildOutcome BuildTopdown(const std::string& track_path_text, std::int32_t close_on_error,
                          BuildFrontEnd* front_end, const BuildOptions& options) {
  const PathStyle style = options.path_style;
  const std::string track_path = TrackPathFromText(track_path_text, style);
  const PathParts track_parts = SplitPath(track_path, style);
  if (!IsTrackExtension(track_parts.extension)) {
    front_end->ShowMainWindow();
    front_end->SetStatus(std::string(kNotATrackText));
    front_end->ShowMessage(std::string(kNotATrackText), std::string(kNotATrackCaption), track_path);
    if (close_on_error == 0) return BuildOutcome::kNotATrack;
    front_end->CloseMainWindow();
  }

  const std::string native_track_path = NativeSeparators(track_path);
  std::string mask_value;
  if (!ReadEntry(native_track_path, kMaskKey, front_end, &mask_value)) {
    return BuildOutcome::kMissingEntry;
  }
  std::array<std::string, 4> overlay_values;
  for (std::size_t i = 0; i < kOverlayKeys.size(); ++i) {
    if (!ReadEntry(native_track_path, kOverlayKeys[i], front_end, &overlay_values[i])) {
      return BuildOutcome::kMissingEntry;
    }
  }

  const std::string& folder = track_parts.folder_prefix;
  const std::string output_path =
      NativeSeparators(folder + OutputNameFor(mask_value, style, options.format));
  front_end->SetStatus(output_path);

  const std::string mask_path = folder + mask_value;
  const PictureSize size = ReadMaskSize(ResolveInputPath(mask_path));
  const int jobs = options.jobs > 0 ? options.jobs : DefaultJobs();
  auto load_tiles = [&] {
    OverlayTiles tiles;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
      tiles[i] =
          LoadOrBlack(kOverlayKeys[i], folder + overlay_values[i], kTileSize, kTileSize, front_end);
    }
    return tiles;
  };

  std::string error;
  bool written = false;
  // Pictures within the limits may still need more memory than the machine
  // gives; the build then ends like any other that cannot write its output,
  // and an older picture stays as it was.
  try {
    StreamOutcome streamed = StreamOutcome::kCannotStream;
    OverlayTiles tiles;
    if (options.stream && size.width > 0 && size.height > 0) {
      tiles = load_tiles();
      streamed = StreamComposite(ResolveInputPath(mask_path), size, tiles, output_path,
                                 options.format, jobs, front_end, &error);
    }
    written = streamed == StreamOutcome::kCannotStream
                  ? BuildInMemory(mask_path, size, output_path, options.format, jobs, front_end,
                                  &tiles, load_tiles, &error)
                  : streamed == StreamOutcome::kWritten;
  } catch (const std::bad_alloc&) {
    error = "not enough memory for a picture of " + std::to_string(size.width) + " x " +
            std::to_string(size.height) + " pixels";
  }
  BuildOutcome outcome = BuildOutcome::kBuilt;
  if (!written) {
    front_end->OutputNotWritten(output_path, error);
    outcome = BuildOutcome::kNotWritten;
  }
  front_end->ShowMainWindow();
  front_end->SetStatus(std::string(kAllDoneText));
  return outcome;
}

}  // namespace skyplate
