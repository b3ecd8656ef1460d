// Where each picture of a batch goes, decided before anything is built.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/track_list.h"
#include "topdown/build_topdown.h"
#include "topdown/picture_format.h"

namespace skyplate {

struct OutputPlan {
  std::string folder;                          // to be made before building; empty: none
  std::vector<std::string> paths;              // each item's BuildOptions::output_path
  PictureFormat format = PictureFormat::kBmp;  // every item's BuildOptions::format
};

// The plan for `list` with `output` the -o path (empty when not given) and
// `format` the one --format asked for, if any. One track given as a path:
// `output` is its picture's file name, whose extension names the format.
// Several tracks, a folder or a pattern, or an `output` that is a folder or
// ends in a separator: `output` is a folder for pictures of their usual
// names. False with the reason when the extension names no format or
// another than `format`, or when two tracks would write the same file.
bool PlanOutputs(const TrackList& list, const std::string& output,
                 std::optional<PictureFormat> format, const BuildOptions& options, OutputPlan* plan,
                 std::string* error);

}  // namespace skyplate
