#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/folders.h"

namespace skyplate {

PathKind KindOfPath(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return PathKind::kNone;
  return S_ISDIR(info.st_mode) ? PathKind::kFolder : PathKind::kFile;
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries, std::string* error) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    *error = std::strerror(errno);
    return false;
  }
  entries->clear();
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    FolderEntry found;
    found.name = name;
    const std::string path = JoinPath(folder, name);
    struct stat info;
    found.is_link = lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    found.is_folder = KindOfPath(path) == PathKind::kFolder;
    entries->push_back(std::move(found));
  }
  closedir(dir);
  return true;
}

bool MakeFolders(const std::string& folder, std::string* error) {
  // The folders above are tried in turn and their failures ignored: "/" or
  // a folder one may not write in cannot be made, yet is there.
  for (std::size_t end = 1; end < folder.size(); ++end) {
    if (folder[end] == '/') mkdir(folder.substr(0, end).c_str(), 0777);
  }
  if (mkdir(folder.c_str(), 0777) == 0) return true;
  const int failure = errno;
  if (KindOfPath(folder) == PathKind::kFolder) return true;
  *error = std::strerror(failure);
  return false;
}

std::string CommandLinePath(std::string path) {
  return path;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace skyplate

namespace skyplate {

bool CanWriteIn(const std::string& folder) {
  std::string existing = folder.empty() ? "." : folder;
  while (KindOfPath(existing) == PathKind::kNone) {
    const std::size_t slash = existing.find_last_of('/', existing.size() - 2);
    if (slash == std::string::npos) return CanWriteIn(".");
    existing = slash == 0 ? "/" : existing.substr(0, slash);
  }
  return access(existing.c_str(), W_OK | X_OK) == 0;
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && (info.st_mode & 0222) == 0;
}

}  // namespace skyplate
