// What a check finds in a track without building it: the model that both
// the text and the JSON reports print.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/track_scan.h"
#include "topdown/build_topdown.h"

namespace skyplate {

enum class FileState {
  kFound,
  kFoundIgnoringCase,  // works here, yet the name differs from the file's
  kMissing,
  kNotReadable,
  kFolder,
  kNotBmp,
};

struct ImageReport {
  std::string key;
  bool present = false;  // the track file has the entry
  std::string value;     // as the build reads it
  bool value_cut = false;
  std::string path;         // as the build names it
  std::string opened_path;  // as the system opens it
  FileState state = FileState::kMissing;
  std::string format;   // kNotBmp: what the file is instead
  std::string variant;  // a BMP's form, "24-bit BMP, 4096 x 4096"
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool loads = false;      // the build reads it, rather than painting black
  std::string reason;      // why it reads as black
  bool resampled = false;  // an overlay not of tile size
};

struct TrackReport {
  std::string track_path;
  std::string problem;  // why there is no track to check; empty otherwise
  bool readable = false;
  TrackFileScan scan;
  std::vector<ImageReport> images;  // the entries read, the mask map first
  std::string output_path;
  PictureSize size;
  std::uint64_t picture_bytes = 0;
  bool folder_writable = false;
  bool older_exists = false;
  bool older_read_only = false;
  std::string not_written;  // why no picture would be written
  // How a build would end; kImageNotLoaded when it would paint an image
  // black, strict or not.
  BuildOutcome outcome = BuildOutcome::kBuilt;
};

// Short names, as both reports print them.
std::string_view FileStateName(FileState state);
std::string_view VerdictOf(BuildOutcome outcome);

// Checks the track at `track_path` as BuildTopdown would build it with
// `options`, reading headers and data but writing nothing.
TrackReport CheckTrack(const std::string& track_path, const BuildOptions& options);

}  // namespace skyplate
