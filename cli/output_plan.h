// Where each picture of a batch goes, decided before anything is built.
#pragma once

#include <string>
#include <vector>

#include "cli/track_list.h"
#include "topdown/build_topdown.h"

namespace skyplate {

struct OutputPlan {
  std::string folder;              // to be made before building; empty: none
  std::vector<std::string> paths;  // each item's BuildOptions::output_path
};

// The plan for `list` with `output` the -o path (empty when not given). One
// track given as a path: `output` is its picture's file name, whose
// extension names the format. Several tracks, a folder or a pattern, or an
// `output` that is a folder or ends in a separator: `output` is a folder for
// pictures of their usual names. False with the reason when the extension
// names no format, or when two tracks would write the same file.
bool PlanOutputs(const TrackList& list, const std::string& output, const BuildOptions& options,
                 OutputPlan* plan, std::string* error);

}  // namespace skyplate
