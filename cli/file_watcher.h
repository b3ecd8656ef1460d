// Tells when files change, however an editor saves them: written in place,
// or a temporary file renamed over the old one. The files' folders are
// watched, since a rename-over replaces the watched file itself.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace skyplate {

class FileWatcher {
 public:
  FileWatcher();
  FileWatcher(const FileWatcher&) = delete;
  FileWatcher& operator=(const FileWatcher&) = delete;
  ~FileWatcher();

  // From now on watches exactly the files of `paths` (as the system opens
  // them), whether or not they exist yet; names match without regard to
  // case. False with the reason when a folder cannot be watched.
  bool Watch(const std::vector<std::string>& paths, std::string* error);

  // Waits up to `timeout_ms` milliseconds (-1: without limit) for a watched
  // file to change; true when one did, adding the changed files' paths to
  // `changed`.
  bool WaitForChange(int timeout_ms, std::vector<std::string>* changed);

 private:
  // Waits for the first event in a watched folder; true when it concerned a
  // watched file.
  bool WaitForAny(int timeout_ms, std::vector<std::string>* changed);

  struct Folders;
  std::unique_ptr<Folders> folders_;
};

// The folder and file name `path` is watched by; the folder is "." for a
// bare name.
struct WatchedName {
  std::string folder;
  std::string name;
};
WatchedName WatchedNameOf(const std::string& path);

}  // namespace skyplate
