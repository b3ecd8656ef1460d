#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <map>

#include "cli/file_watcher.h"
#include "topdown/path_parts.h"

namespace skyplate {

// One inotify watch a folder, shared by the files in it.
struct FileWatcher::Folders {
  int fd = -1;
  std::map<int, std::string> folder_of;              // watch descriptor to folder
  std::map<int, std::vector<std::string>> paths_of;  // watch descriptor to its files' paths
};

namespace {

// What editors do to a file when they save it, in place or by renaming.
constexpr std::uint32_t kChangeEvents =
    IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB;

void AddMatches(const std::vector<std::string>& paths, const char* name,
                std::vector<std::string>* changed) {
  for (const std::string& path : paths) {
    if (EqualIgnoringCase(WatchedNameOf(path).name, name)) changed->push_back(path);
  }
}

}  // namespace

FileWatcher::FileWatcher() : folders_(std::make_unique<Folders>()) {
  folders_->fd = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
}

FileWatcher::~FileWatcher() {
  if (folders_->fd >= 0) close(folders_->fd);
}

bool FileWatcher::Watch(const std::vector<std::string>& paths, std::string* error) {
  if (folders_->fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  std::map<int, std::string> folder_of;
  std::map<int, std::vector<std::string>> paths_of;
  bool all = true;
  for (const std::string& path : paths) {
    const WatchedName watched = WatchedNameOf(path);
    // Watching a folder again gives the same descriptor: events that came
    // in meanwhile are kept.
    const int wd = inotify_add_watch(folders_->fd, watched.folder.c_str(), kChangeEvents);
    if (wd < 0) {
      *error = watched.folder + ": " + std::strerror(errno);
      all = false;
      continue;
    }
    folder_of[wd] = watched.folder;
    paths_of[wd].push_back(path);
  }
  for (const auto& [wd, folder] : folders_->folder_of) {
    if (folder_of.count(wd) == 0) inotify_rm_watch(folders_->fd, wd);
  }
  folders_->folder_of = std::move(folder_of);
  folders_->paths_of = std::move(paths_of);
  return all;
}

bool FileWatcher::WaitForAny(int timeout_ms, std::vector<std::string>* changed) {
  pollfd ready{folders_->fd, POLLIN, 0};
  if (folders_->fd < 0 || poll(&ready, 1, timeout_ms) <= 0) return false;
  alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
  const std::size_t before = changed->size();
  bool overflowed = false;
  for (;;) {
    const ssize_t got = read(folders_->fd, buffer, sizeof buffer);
    if (got <= 0) break;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if ((event->mask & IN_Q_OVERFLOW) != 0) overflowed = true;
      const auto found = folders_->paths_of.find(event->wd);
      if (found == folders_->paths_of.end() || event->len == 0) continue;
      AddMatches(found->second, event->name, changed);
    }
  }
  // Events were lost: any file may have changed.
  if (overflowed) {
    for (const auto& [wd, paths] : folders_->paths_of) {
      changed->insert(changed->end(), paths.begin(), paths.end());
    }
  }
  return changed->size() > before;
}

WatchedName WatchedNameOf(const std::string& path) {
  const PathParts parts = SplitPath(path, PathStyle::kPosix);
  return {parts.folder_prefix.empty() ? "." : parts.folder_prefix, parts.file_name};
}

}  // namespace skyplate
