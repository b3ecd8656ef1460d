#include "topdown/build_topdown.h"

#include <array>
#include <new>

#include "topdown/bitmap_loader.h"
#include "topdown/bitmap_writer.h"
#include "topdown/compositing.h"
#include "topdown/file_failure.h"
#include "topdown/input_path.h"
#include "topdown/mask_header.h"
#include "topdown/streamed_compositing.h"
#include "topdown/track_file.h"
#include "topdown/worker_pool.h"

namespace skyplate {
namespace {

// Windows path buffers hold 255 bytes and a terminating zero.
constexpr std::size_t kWindowsPathBytes = 255;

constexpr std::string_view kMaskKey = kTerrainKeys[0];
constexpr std::array<std::string_view, 4> kOverlayKeys = {kTerrainKeys[1], kTerrainKeys[2],
                                                          kTerrainKeys[3], kTerrainKeys[4]};

// Reads one entry of the track's text; on a missing one tells the user and
// gives false.
bool ReadEntry(const std::string& track_path, std::string_view text, std::string_view key,
               BuildFrontEnd* front_end, std::string* value) {
  *value = FindIniEntry(text, kTerrainSection, key);
  if (*value != kNotFound) return true;
  front_end->ShowMessage(std::string(kMissingEntryText), std::nullopt,
                         track_path + ": no entry " + std::string(key) + " in section [" +
                             std::string(kTerrainSection) + "]");
  return false;
}

// Loads images by the build's loading rule. One that cannot be loaded reads
// as black and the front end hears why; a strict build then stops short of
// writing anything.
class ImageLoader {
 public:
  ImageLoader(BuildFrontEnd* front_end, bool strict) : front_end_(front_end), strict_(strict) {}

  // An image that failed to load is empty, which compositing reads as black
  // without a picture-sized block of black.
  // Only images that builds share belong in `cache`.
  Bitmap Load(std::string_view key, const std::string& path, std::int32_t width,
              std::int32_t height, ImageCache* cache = nullptr) {
    Bitmap bitmap;
    std::string error;
    if (LoadBitmapFile(ResolveInputPath(path), width, height, &bitmap, &error, cache)) {
      return bitmap;
    }
    NotLoaded(key, path, error);
    return {};
  }

  // Reports an image that reads as black; false when the build must stop.
  bool NotLoaded(std::string_view key, const std::string& path, const std::string& reason) {
    front_end_->ImageNotLoaded(key, path, reason);
    failed_ = true;
    return !MustStop();
  }

  bool MustStop() const { return strict_ && failed_; }

 private:
  BuildFrontEnd* front_end_;
  bool strict_;
  bool failed_ = false;
};

// The build with the whole picture in memory, as the display needs it.
// `tiles` are loaded here unless a try at streaming loaded them already.
template <typename LoadTiles>
BuildOutcome BuildInMemory(const std::string& mask_path, PictureSize size,
                           const std::string& output_path, PictureFormat format, int jobs,
                           BuildFrontEnd* front_end, ImageLoader* loader, OverlayTiles* tiles,
                           const LoadTiles& load_tiles, std::string* error) {
  const bool buildable = FitsInMemory(size.width, size.height);
  Bitmap result;
  if (buildable) {
    result = loader->Load(kMaskKey, mask_path, size.width, size.height);
    if ((*tiles)[0].empty()) *tiles = load_tiles();
    if (loader->MustStop()) return BuildOutcome::kImageNotLoaded;
  }
  // The picture is composited over its mask, each pixel from its own mask
  // pixel: a picture-sized block less to allocate and to clear. A mask that
  // failed to load reads as black into a picture of its own.
  const Bitmap no_mask;
  const bool over_mask = !result.empty();
  if (buildable && !over_mask) result = Bitmap::Blank(size.width, size.height);
  CompositeTerrain(over_mask ? result : no_mask, *tiles, &result, front_end, jobs);
  if (!buildable) {
    *error = size.width <= 0 || size.height <= 0
                 ? "the mask map " + mask_path + " gives no picture size"
                 : "a picture of " + std::to_string(size.width) + " x " +
                       std::to_string(size.height) + " pixels is too large to build in memory";
    return BuildOutcome::kNotWritten;
  }
  return SavePictureFile(result, output_path, format, jobs, error) ? BuildOutcome::kBuilt
                                                                   : BuildOutcome::kNotWritten;
}

// The output path for a track whose MaskMap entry is `mask_value`.
std::string OutputPathOf(const std::string& track_folder, const std::string& mask_value,
                         const BuildOptions& options) {
  const std::string& wanted = options.output_path;
  const std::string name = OutputNameFor(mask_value, options.path_style, options.format);
  if (wanted.empty()) return NativeSeparators(track_folder + name);
  if (IsPathSeparator(wanted.back(), options.path_style)) return wanted + name;
  return wanted;
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

bool HasTrackExtension(std::string_view path, PathStyle style) {
  return EqualIgnoringCase(SplitPath(path, style).extension, ".track");
}

std::optional<TrackPlan> PlanTrack(const std::string& track_path_text,
                                   const BuildOptions& options) {
  const std::string track_path = TrackPathFromText(track_path_text, options.path_style);
  if (!HasTrackExtension(track_path, options.path_style)) return std::nullopt;
  const PathParts parts = SplitPath(track_path, options.path_style);
  std::string text;
  std::string error;
  if (!ReadTrackText(NativeSeparators(track_path), &text, &error)) return std::nullopt;
  const std::string mask_value = FindIniEntry(text, kTerrainSection, kMaskKey);
  if (mask_value == kNotFound) return std::nullopt;
  TrackPlan plan{OutputPathOf(parts.folder_prefix, mask_value, options), {}};
  // A mask that gives no size plans an empty picture, as its build ends.
  ReadMaskSize(ResolveInputPath(parts.folder_prefix + mask_value), &plan.size, &error);
  return plan;
}

BuildOutcome BuildTopdown(const std::string& track_path_text, std::int32_t close_on_error,
                          BuildFrontEnd* front_end, const BuildOptions& options) {
  const PathStyle style = options.path_style;
  const std::string track_path = TrackPathFromText(track_path_text, style);
  const PathParts track_parts = SplitPath(track_path, style);
  if (!HasTrackExtension(track_path, style)) {
    front_end->ShowMainWindow();
    front_end->SetStatus(std::string(kNotATrackText));
    front_end->ShowMessage(std::string(kNotATrackText), std::string(kNotATrackCaption), track_path);
    if (close_on_error == 0) return BuildOutcome::kNotATrack;
    front_end->CloseMainWindow();
  }

  const std::string native_track_path = NativeSeparators(track_path);
  std::string track_text;
  std::string track_error;
  // A track file that cannot be read has none of its entries.
  if (!ReadTrackText(native_track_path, &track_text, &track_error)) {
    front_end->ShowMessage(std::string(kMissingEntryText), std::nullopt,
                           FileFailureText(native_track_path, track_error));
    return BuildOutcome::kMissingEntry;
  }
  std::string mask_value;
  if (!ReadEntry(native_track_path, track_text, kMaskKey, front_end, &mask_value)) {
    return BuildOutcome::kMissingEntry;
  }
  std::array<std::string, 4> overlay_values;
  for (std::size_t i = 0; i < kOverlayKeys.size(); ++i) {
    if (!ReadEntry(native_track_path, track_text, kOverlayKeys[i], front_end, &overlay_values[i])) {
      return BuildOutcome::kMissingEntry;
    }
  }

  const std::string& folder = track_parts.folder_prefix;
  const std::string output_path = OutputPathOf(folder, mask_value, options);
  front_end->SetStatus(output_path);

  const std::string mask_path = folder + mask_value;
  PictureSize size;
  std::string mask_error;
  if (!ReadMaskSize(ResolveInputPath(mask_path), &size, &mask_error)) {
    mask_error = "the mask map " + FileFailureText(mask_path, mask_error);
  }
  const int jobs = options.jobs > 0 ? options.jobs : DefaultJobs();
  ImageLoader loader(front_end, options.strict);
  auto load_tiles = [&] {
    OverlayTiles tiles;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
      tiles[i] = loader.Load(kOverlayKeys[i], folder + overlay_values[i], kTileSize, kTileSize,
                             options.image_cache);
      if (tiles[i].empty()) tiles[i] = Bitmap::Blank(kTileSize, kTileSize);
    }
    return tiles;
  };

  std::string error;
  BuildOutcome outcome = BuildOutcome::kNotWritten;
  // Pictures within the limits may still need more memory than the machine
  // gives; the build then ends like any other that cannot write its output,
  // and an older picture stays as it was.
  try {
    StreamOutcome streamed = StreamOutcome::kCannotStream;
    OverlayTiles tiles;
    if (options.stream && size.width > 0 && size.height > 0) {
      tiles = load_tiles();
      if (loader.MustStop()) return BuildOutcome::kImageNotLoaded;
      auto mask_not_loaded = [&](const std::string& reason) {
        return loader.NotLoaded(kMaskKey, mask_path, reason);
      };
      streamed = StreamComposite(ResolveInputPath(mask_path), size, tiles, output_path,
                                 options.format, jobs, front_end, mask_not_loaded, &error);
    }
    if (streamed == StreamOutcome::kCannotStream) {
      outcome = BuildInMemory(mask_path, size, output_path, options.format, jobs, front_end,
                              &loader, &tiles, load_tiles, &error);
    } else if (streamed == StreamOutcome::kWritten) {
      outcome = BuildOutcome::kBuilt;
    } else if (streamed == StreamOutcome::kStopped) {
      outcome = BuildOutcome::kImageNotLoaded;
    }
  } catch (const std::bad_alloc&) {
    error = "not enough memory for a picture of " + std::to_string(size.width) + " x " +
            std::to_string(size.height) + " pixels";
  }
  if (outcome == BuildOutcome::kImageNotLoaded) return outcome;
  if (outcome == BuildOutcome::kNotWritten) {
    // A mask that gave no size is the true reason, not the empty picture.
    front_end->OutputNotWritten(output_path, mask_error.empty() ? error : mask_error);
  }
  front_end->ShowMainWindow();
  front_end->SetStatus(std::string(kAllDoneText));
  return outcome;
}

}  // namespace skyplate
