#include "cli/watch_mode.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <thread>

#include "cli/file_watcher.h"
#include "cli/folders.h"
#include "cli/rebuild_report.h"
#include "topdown/input_path.h"
#include "topdown/path_parts.h"
#include "topdown/track_file.h"

namespace skyplate {
namespace {

using Clock = std::chrono::steady_clock;

struct WatchedTrack {
  std::string track_path;
  BuildOptions options;
  std::vector<std::string> files;  // read by its last build
  std::set<std::string> existing;  // those of them that were there then
};

void Build(WatchedTrack* track) {
  RebuildReport report;
  const auto when = std::chrono::system_clock::now();
  const Clock::time_point start = Clock::now();
  BuildTopdown(track->track_path, 0, &report, track->options);
  const Clock::duration took = Clock::now() - start;
  std::printf("%s\n", report.Line(track->track_path, when, took).c_str());
  std::fflush(stdout);
  // The track file may name other files now.
  track->files = WatchedFilesOf(track->track_path, track->options.path_style);
  track->existing.clear();
  for (const std::string& file : track->files) {
    if (KindOfPath(file) == PathKind::kFile) track->existing.insert(file);
  }
}

// Waits, while changes keep coming, until none came for kSettleTime, and
// then for files that went missing to come back; gathers what changed.
void Settle(FileWatcher* watcher, const std::vector<WatchedTrack>& tracks,
            std::vector<std::string>* changed) {
  while (watcher->WaitForChange(static_cast<int>(kSettleTime.count()), changed)) {
  }
  const Clock::time_point give_up = Clock::now() + kMissingWait;
  for (const WatchedTrack& track : tracks) {
    for (const std::string& file : track.existing) {
      while (KindOfPath(file) != PathKind::kFile && Clock::now() < give_up) {
        watcher->WaitForChange(20, changed);
      }
    }
  }
}

bool Uses(const WatchedTrack& track, const std::vector<std::string>& changed) {
  return std::any_of(changed.begin(), changed.end(), [&](const std::string& file) {
    return std::find(track.files.begin(), track.files.end(), file) != track.files.end();
  });
}

}  // namespace

std::vector<std::string> WatchedFilesOf(const std::string& track_path, PathStyle style) {
  const std::string path = TrackPathFromText(track_path, style);
  const std::string native_path = NativeSeparators(path);
  std::vector<std::string> files = {native_path};
  const std::string folder = SplitPath(path, style).folder_prefix;
  std::string text;
  std::string error;
  // A track file that cannot be read now is watched for its coming back.
  if (!ReadTrackText(native_path, &text, &error)) return files;
  for (std::string_view key : kTerrainKeys) {
    const std::string value = FindIniEntry(text, kTerrainSection, key);
    if (value != kNotFound) files.push_back(ResolveInputPath(folder + value));
  }
  return files;
}

int RunWatch(const TrackList& list, const OutputPlan& plan, const BuildOptions& options,
             int not_watched) {
  std::vector<WatchedTrack> tracks;
  for (std::size_t i = 0; i < list.items.size(); ++i) {
    const BatchItem& item = list.items[i];
    if (!item.problem.empty()) {
      std::fprintf(stderr, "error: %s: %s\n", item.path.c_str(), item.problem.c_str());
      continue;
    }
    WatchedTrack track{item.path, options, {}, {}};
    track.options.output_path = plan.paths[i];
    Build(&track);
    tracks.push_back(std::move(track));
  }
  if (tracks.empty()) return not_watched;
  FileWatcher watcher;
  std::string last_error;
  for (;;) {
    std::vector<std::string> files;
    for (const WatchedTrack& track : tracks) {
      files.insert(files.end(), track.files.begin(), track.files.end());
    }
    std::string error;
    // A folder that cannot be watched yet may be made later; it is said
    // once, not at every turn.
    if (!watcher.Watch(files, &error) && error != last_error) {
      std::fprintf(stderr, "error: cannot watch %s\n", error.c_str());
    }
    last_error = error;
    std::vector<std::string> changed;
    if (!watcher.WaitForChange(-1, &changed)) continue;
    Settle(&watcher, tracks, &changed);
    for (WatchedTrack& track : tracks) {
      if (Uses(track, changed)) Build(&track);
    }
  }
}

}  // namespace skyplate
