// The command line's arguments turned into the tracks of a batch: folders
// listed, and on Windows wildcard patterns expanded.
#pragma once

#include <string>
#include <vector>

namespace skyplate {

// One item of a batch: a track to build, or an argument that gave none.
struct BatchItem {
  std::string path;     // the track's path, or the argument that gave none
  std::string problem;  // why the argument gave no track; empty for a track
};

struct TrackList {
  std::vector<BatchItem> items;
  // A folder or a pattern was among the arguments: they stand for any
  // number of tracks, so an output path names a folder.
  bool open_ended = false;
};

// The items of `arguments` in order. A folder gives the track files inside
// (".track" in any letter case) by name, with `recursive` those of its
// subfolders too, never through a link to a folder. Any other argument is a
// track as it stands, for the build to judge.
TrackList ListTracks(const std::vector<std::string>& arguments, bool recursive);

}  // namespace skyplate
