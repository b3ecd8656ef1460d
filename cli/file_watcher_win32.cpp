#include <windows.h>

#include <map>

#include "cli/file_watcher.h"
#include "topdown/path_parts.h"
#include "topdown/system_error.h"

namespace skyplate {
namespace {

// What editors do to a file when they save it, in place or by renaming.
constexpr DWORD kChangeFilter =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

// One folder's pending ReadDirectoryChangesW, with the files watched in it.
struct WatchedFolder {
  HANDLE handle = INVALID_HANDLE_VALUE;
  OVERLAPPED overlapped{};
  alignas(DWORD) char buffer[16 * 1024];
  std::vector<std::string> paths;

  WatchedFolder() = default;
  WatchedFolder(const WatchedFolder&) = delete;
  WatchedFolder& operator=(const WatchedFolder&) = delete;
  ~WatchedFolder() {
    if (handle != INVALID_HANDLE_VALUE) {
      CancelIo(handle);
      CloseHandle(handle);
    }
    if (overlapped.hEvent != nullptr) CloseHandle(overlapped.hEvent);
  }

  bool Open(const std::string& folder, std::string* error) {
    handle = CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE || overlapped.hEvent == nullptr || !Ask()) {
      *error = folder + ": " + LastSystemError();
      return false;
    }
    return true;
  }

  bool Ask() {
    ResetEvent(overlapped.hEvent);
    return ReadDirectoryChangesW(handle, buffer, sizeof buffer, FALSE, kChangeFilter, nullptr,
                                 &overlapped, nullptr) != FALSE;
  }

  // The watched files among the names the system reported; all of them
  // when it lost track.
  void Collect(std::vector<std::string>* changed) {
    DWORD bytes = 0;
    if (!GetOverlappedResult(handle, &overlapped, &bytes, FALSE) || bytes == 0) {
      changed->insert(changed->end(), paths.begin(), paths.end());
    } else {
      for (DWORD at = 0;;) {
        const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + at);
        char name[MAX_PATH * 2] = "";
        WideCharToMultiByte(CP_ACP, 0, info->FileName,
                            static_cast<int>(info->FileNameLength / sizeof(WCHAR)), name,
                            sizeof name - 1, nullptr, nullptr);
        for (const std::string& path : paths) {
          if (EqualIgnoringCase(WatchedNameOf(path).name, name)) changed->push_back(path);
        }
        if (info->NextEntryOffset == 0) break;
        at += info->NextEntryOffset;
      }
    }
    Ask();
  }
};

}  // namespace

struct FileWatcher::Folders {
  // Folder name, in lower case, to its watch.
  std::map<std::string, std::unique_ptr<WatchedFolder>> folders;
};

FileWatcher::FileWatcher() : folders_(std::make_unique<Folders>()) {}

FileWatcher::~FileWatcher() = default;

bool FileWatcher::Watch(const std::vector<std::string>& paths, std::string* error) {
  std::map<std::string, std::unique_ptr<WatchedFolder>> folders;
  bool all = true;
  for (const std::string& path : paths) {
    const WatchedName watched = WatchedNameOf(path);
    std::string key = watched.folder;
    for (char& c : key) c = AsciiLower(c);
    auto& folder = folders[key];
    // A folder watched already keeps its pending request, and with it the
    // changes that came in meanwhile.
    if (!folder) {
      auto kept = folders_->folders.find(key);
      if (kept != folders_->folders.end()) {
        folder = std::move(kept->second);
        folder->paths.clear();
      } else {
        folder = std::make_unique<WatchedFolder>();
        if (!folder->Open(watched.folder, error)) {
          folders.erase(key);
          all = false;
          continue;
        }
      }
    }
    folder->paths.push_back(path);
  }
  folders_->folders = std::move(folders);
  return all;
}

bool FileWatcher::WaitForAny(int timeout_ms, std::vector<std::string>* changed) {
  std::vector<HANDLE> events;
  std::vector<WatchedFolder*> watched;
  for (auto& [key, folder] : folders_->folders) {
    events.push_back(folder->overlapped.hEvent);
    watched.push_back(folder.get());
  }
  const DWORD timeout = timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms);
  if (events.empty() || events.size() > MAXIMUM_WAIT_OBJECTS) {
    Sleep(timeout == INFINITE ? 1000 : timeout);
    return false;
  }
  const DWORD woken =
      WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE, timeout);
  if (woken >= WAIT_OBJECT_0 + events.size()) return false;
  const std::size_t before = changed->size();
  // Every folder whose request completed, not only the first.
  for (WatchedFolder* folder : watched) {
    if (WaitForSingleObject(folder->overlapped.hEvent, 0) == WAIT_OBJECT_0) {
      folder->Collect(changed);
    }
  }
  return changed->size() > before;
}

WatchedName WatchedNameOf(const std::string& path) {
  // Windows opens "tiles/base.bmp" too, which the build's path rules would
  // take for one name.
  std::string unified = path;
  for (char& c : unified) c = c == '/' ? '\\' : c;
  const PathParts parts = SplitPath(unified, PathStyle::kWindows);
  return {parts.folder_prefix.empty() ? "." : parts.folder_prefix, parts.file_name};
}

}  // namespace skyplate
