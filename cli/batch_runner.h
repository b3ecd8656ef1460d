// Runs the builds of a batch and counts them.
#pragma once

#include "cli/batch_summary.h"
#include "cli/output_plan.h"
#include "cli/track_list.h"
#include "topdown/build_front_end.h"
#include "topdown/build_topdown.h"

namespace skyplate {

// Exit status of an argument that gave no track, as of a track file that
// cannot be read.
inline constexpr int kNoTrackStatus = 3;

// Maps a build's outcome to the exit status the tool documents.
using StatusOf = int (*)(BuildOutcome);

// Builds every item of `list` to the paths of `plan` and counts each in
// `summary`, telling `front_end` all in the batch's order. Runs of tracks
// with small pictures are built several at once, one thread each, since a
// small build leaves most cores idle; what they say is held back until its
// turn. Large pictures are built one after another on all `options.jobs`.
void RunBatch(const TrackList& list, const OutputPlan& plan, BuildOptions options,
              BuildFrontEnd* front_end, StatusOf status_of, BatchSummary* summary);

}  // namespace skyplate
