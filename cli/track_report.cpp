#include "cli/track_report.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <vector>

#include "cli/file_format.h"
#include "cli/folders.h"
#include "topdown/bitmap_loader.h"
#include "topdown/bmp_header.h"
#include "topdown/input_path.h"
#include "topdown/limits.h"
#include "topdown/mask_header.h"
#include "topdown/path_parts.h"
#include "topdown/row_compositor.h"
#include "topdown/streamed_mask.h"
#include "topdown/track_file.h"

namespace skyplate {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A sink that keeps nothing: decoding RLE data through it finds its errors
// in constant memory.
class DiscardingSink final : public RleSink {
 public:
  bool Put(std::int32_t, std::int32_t, Colour) override { return true; }
};

std::string BmpVariant(const BmpHeader& header) {
  std::string variant = std::to_string(header.bits_per_pixel) + "-bit ";
  if (IsRle(header)) variant += "RLE ";
  if (header.format == BmpPixelFormat::kBitFields) variant += "bit-field ";
  variant += "BMP";
  if (!header.palette.empty()) {
    variant += " with " + std::to_string(header.palette.size()) + " colours";
  }
  variant += ", " + std::to_string(header.width) + " x " + std::to_string(header.height);
  if (header.top_down) variant += ", top-down";
  return variant;
}

// Whether the build reads the mask map, as its streamed build does.
void CheckMask(PictureSize size, ImageReport* image) {
  StreamedMask mask;
  image->loads = mask.Open(image->opened_path, size, &image->reason);
  if (image->loads && mask.kind() == StreamedMask::Kind::kRle) {
    DiscardingSink sink;
    image->loads = mask.DecodeAll(&sink, &image->reason);
  }
}

// Finds the file an entry names and what it holds. `mask_size` is the
// picture's size for the mask map, none for an overlay.
void CheckImage(const std::string& folder, PictureSize mask_size, bool is_mask,
                ImageReport* image) {
  image->path = folder + image->value;
  image->opened_path = ResolveInputPath(image->path);
  const PathKind kind = KindOfPath(image->opened_path);
  if (kind == PathKind::kNone) {
    image->state = FileState::kMissing;
    image->reason = "no such file";
    return;
  }
  if (kind == PathKind::kFolder) {
    image->state = FileState::kFolder;
    image->reason = "a folder, not a file";
    return;
  }
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(image->opened_path.c_str(), "rb"));
  if (!file) {
    image->state = FileState::kNotReadable;
    image->reason = "cannot open the file";
    return;
  }
  std::vector<std::uint8_t> head(kBmpHeadBytes);
  head.resize(std::fread(head.data(), 1, head.size(), file.get()));
  image->format = FileFormatOf(head);
  if (!image->format.empty()) {
    image->state = FileState::kNotBmp;
    image->reason = image->format + ", not a BMP";
    return;
  }
  image->state = image->opened_path == NativeSeparators(image->path)
                     ? FileState::kFound
                     : FileState::kFoundIgnoringCase;
  BmpHeader header;
  if (!ReadBmpHeader(head, &header, &image->reason,
                     is_mask ? kMaxStreamedPixels : kMaxInMemoryPixels)) {
    return;
  }
  image->variant = BmpVariant(header);
  image->width = header.width;
  image->height = header.height;
  if (is_mask) {
    CheckMask(mask_size, image);
    return;
  }
  image->resampled = header.width != kTileSize || header.height != kTileSize;
  Bitmap tile;
  image->loads = LoadBitmapFile(image->opened_path, kTileSize, kTileSize, &tile, &image->reason);
}

void CheckPicture(TrackReport* report) {
  const PictureSize size = report->size;
  if (size.width <= 0 || size.height <= 0) {
    report->not_written = "the mask map gives no picture size";
    return;
  }
  const std::uint64_t stride =
      (std::uint64_t{3} * static_cast<std::uint32_t>(size.width) + 3) / 4 * 4;
  report->picture_bytes = 54 + stride * static_cast<std::uint32_t>(size.height);
  if (report->picture_bytes > std::numeric_limits<std::uint32_t>::max() ||
      std::int64_t{size.width} * size.height > kMaxStreamedPixels) {
    report->not_written = "a picture of " + std::to_string(size.width) + " x " +
                          std::to_string(size.height) + " pixels is too large for a BMP file";
  }
  const std::string folder = SplitPath(report->output_path, kNativePathStyle).folder_prefix;
  report->folder_writable = CanWriteIn(folder);
  if (!report->folder_writable && report->not_written.empty()) {
    report->not_written = "cannot make files in the folder " + (folder.empty() ? "." : folder);
  }
  report->older_exists = KindOfPath(report->output_path) == PathKind::kFile;
  report->older_read_only = report->older_exists && IsReadOnlyFile(report->output_path);
  // The build leaves a read-only picture as it is and says so.
  if (report->older_read_only && report->not_written.empty()) {
    report->not_written = "the picture is read-only";
  }
}

}  // namespace

std::string_view FileStateName(FileState state) {
  switch (state) {
    case FileState::kFound:
      return "found";
    case FileState::kFoundIgnoringCase:
      return "found only by ignoring letter case";
    case FileState::kMissing:
      return "missing";
    case FileState::kNotReadable:
      return "not readable";
    case FileState::kFolder:
      return "a folder";
    case FileState::kNotBmp:
      return "not a BMP";
  }
  return "missing";
}

std::string_view VerdictOf(BuildOutcome outcome) {
  switch (outcome) {
    case BuildOutcome::kBuilt:
      return "would build";
    case BuildOutcome::kImageNotLoaded:
      return "would build, but an image would read as black";
    case BuildOutcome::kNotATrack:
      return "is not a track file";
    case BuildOutcome::kMissingEntry:
      return "would not build";
    case BuildOutcome::kNotWritten:
      return "would write no picture";
  }
  return "would not build";
}

TrackReport CheckTrack(const std::string& track_path, const BuildOptions& options) {
  TrackReport report;
  report.track_path = TrackPathFromText(track_path, options.path_style);
  if (!HasTrackExtension(report.track_path, options.path_style)) {
    report.problem = std::string(kNotATrackText);
    report.outcome = BuildOutcome::kNotATrack;
    return report;
  }
  const std::string native_path = NativeSeparators(report.track_path);
  if (KindOfPath(native_path) == PathKind::kFolder) {
    report.problem = "a folder, not a track file";
    report.outcome = BuildOutcome::kMissingEntry;
    return report;
  }
  std::string text;
  std::string error;
  if (!ReadTrackText(native_path, &text, &error)) {
    report.problem = KindOfPath(native_path) == PathKind::kNone ? "no such file" : error;
    report.outcome = BuildOutcome::kMissingEntry;
    return report;
  }
  report.readable = true;
  // The scan sees the text as the build reads it; only the mark it was
  // decoded by is taken from the file's own first bytes.
  std::istringstream decoded(text);
  report.scan = ScanTrackText(decoded);
  std::ifstream raw(native_path, std::ios::binary);
  char head[3] = {};
  raw.read(head, sizeof head);
  report.scan.byte_order_mark = ByteOrderMarkOf(std::string_view(head, raw.gcount()));

  const std::string folder = SplitPath(report.track_path, options.path_style).folder_prefix;
  bool missing_entry = false;
  for (std::string_view key : kTerrainKeys) {
    ImageReport image;
    image.key = std::string(key);
    image.value = FindIniEntry(text, kTerrainSection, key);
    image.present = image.value != kNotFound;
    image.value_cut = image.present && ValueWasCut(report.scan, key);
    missing_entry = missing_entry || !image.present;
    report.images.push_back(std::move(image));
  }
  if (const std::optional<TrackPlan> plan = PlanTrack(track_path, options)) {
    if (!missing_entry) report.output_path = plan->output_path;
    report.size = plan->size;
  }
  // Every file is looked at, even when an entry is missing: the maker then
  // learns all there is to fix at once.
  for (std::size_t i = 0; i < report.images.size(); ++i) {
    ImageReport& image = report.images[i];
    if (!image.present) continue;
    CheckImage(folder, report.size, i == 0, &image);
    if (!image.loads) report.outcome = BuildOutcome::kImageNotLoaded;
  }
  if (missing_entry) {
    report.outcome = BuildOutcome::kMissingEntry;
    return report;
  }
  CheckPicture(&report);
  if (!report.not_written.empty()) report.outcome = BuildOutcome::kNotWritten;
  return report;
}

}  // namespace skyplate
