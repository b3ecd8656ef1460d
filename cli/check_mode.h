// skyplate-cli --check: what is wrong with each track, found without
// building or writing anything.
#pragma once

#include <vector>

#include "cli/batch_runner.h"
#include "cli/output_plan.h"
#include "cli/track_list.h"
#include "cli/track_report.h"
#include "topdown/build_topdown.h"

namespace skyplate {

// The report of each item of `list`, its pictures where `plan` puts them.
std::vector<TrackReport> CheckTracks(const TrackList& list, const OutputPlan& plan,
                                     BuildOptions options);

// The reports as text for people, one block a track.
std::string CheckText(const std::vector<TrackReport>& reports);
// The reports as one JSON document, for editors and scripts.
std::string CheckJson(const std::vector<TrackReport>& reports, StatusOf status_of);

// The exit status of the first report whose track would fail; 0 when none.
int CheckStatus(const std::vector<TrackReport>& reports, StatusOf status_of);

// Prints the check of `list` on stdout, as JSON with `json`; returns the
// exit status of the first track that would fail.
int RunCheck(const TrackList& list, const OutputPlan& plan, const BuildOptions& options, bool json,
             StatusOf status_of);

}  // namespace skyplate
