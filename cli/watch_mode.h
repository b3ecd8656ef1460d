// skyplate-cli --watch: builds each track, then rebuilds it whenever its
// track file or a file it names changes, until interrupted.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "cli/output_plan.h"
#include "cli/track_list.h"
#include "topdown/build_topdown.h"

namespace skyplate {

// How long writes must have stopped before a rebuild starts: editors save
// in several writes, and one rebuild should see them all.
inline constexpr std::chrono::milliseconds kSettleTime{100};
// How long a file that was there at the last build may be missing, as
// during an editor's save, before the rebuild goes on without it.
inline constexpr std::chrono::milliseconds kMissingWait{2000};

// The files the build of the track at `track_path` reads, as the system
// opens them: the track file, then those its entries name.
std::vector<std::string> WatchedFilesOf(const std::string& track_path, PathStyle style);

// Builds every track of `list`, printing one line each, then watches and
// rebuilds; ends only on an interrupt or when no file can be watched (then
// with the status `not_watched`).
int RunWatch(const TrackList& list, const OutputPlan& plan, const BuildOptions& options,
             int not_watched);

}  // namespace skyplate
