#include "cli/track_list.h"

#include <algorithm>

#include "cli/folders.h"
#include "cli/wildcards.h"
#include "topdown/build_topdown.h"

namespace skyplate {
namespace {

// A Unix shell expands patterns before the program starts, and a quoted
// one was meant literally; Windows shells leave every pattern to the program.
constexpr bool kExpandsPatterns = kNativePathStyle == PathStyle::kWindows;

class Lister {
 public:
  Lister(bool recursive, TrackList* list) : recursive_(recursive), list_(list) {}

  void AddPath(const std::string& path) {
    if (KindOfPath(path) != PathKind::kFolder) {
      list_->items.push_back({path, ""});
      return;
    }
    list_->open_ended = true;
    const std::size_t before = list_->items.size();
    AddFolder(path);
    if (list_->items.size() == before) {
      list_->items.push_back({path, recursive_ ? "no .track file in the folder or its subfolders"
                                               : "no .track file in the folder"});
    }
  }

 private:
  void AddFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::string error;
    if (!ListFolder(folder, &entries, &error)) {
      list_->items.push_back({folder, "cannot read the folder: " + error});
      return;
    }
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
      return ComesBefore(a.name, b.name);
    });
    for (const FolderEntry& entry : entries) {
      const std::string path = JoinPath(folder, entry.name);
      if (!entry.is_folder && HasTrackExtension(entry.name, kNativePathStyle)) {
        list_->items.push_back({path, ""});
      } else if (entry.is_folder && !entry.is_link && recursive_) {
        AddFolder(path);
      }
    }
  }

  bool recursive_;
  TrackList* list_;
};

}  // namespace

TrackList ListTracks(const std::vector<std::string>& arguments, bool recursive) {
  TrackList list;
  Lister lister(recursive, &list);
  for (const std::string& argument : arguments) {
    const std::string path = CommandLinePath(argument);
    if (!kExpandsPatterns || !HasWildcards(path)) {
      lister.AddPath(path);
      continue;
    }
    list.open_ended = true;
    const std::vector<std::string> matches = ExpandPattern(path);
    if (matches.empty()) list.items.push_back({argument, "no file matches the pattern"});
    for (const std::string& match : matches) lister.AddPath(match);
  }
  return list;
}

}  // namespace skyplate
