#include <windows.h>

#include "cli/folders.h"
#include "topdown/system_error.h"

namespace skyplate {
namespace {

std::wstring Wide(const std::string& text) {
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// The name in the ANSI code page the build opens files with; false when
// some character has no place in it.
bool Ansi(const wchar_t* name, std::string* text) {
  BOOL lossy = FALSE;
  const int size =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, nullptr, 0, nullptr, &lossy);
  if (size <= 0) return false;
  text->assign(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, text->data(), size, nullptr, &lossy);
  text->pop_back();  // the terminating zero
  return !lossy;
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/' || c == ':';
}

}  // namespace

PathKind KindOfPath(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kNone;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::kFolder : PathKind::kFile;
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries, std::string* error) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Wide(JoinPath(folder, "*")).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) {
    *error = LastSystemError();
    return false;
  }
  entries->clear();
  do {
    FolderEntry entry;
    // A name the code page cannot spell is reached by its short name, which
    // is plain ASCII; without one it stays as spelt and fails as unopenable.
    if (!Ansi(found.cFileName, &entry.name) && found.cAlternateFileName[0] != L'\0') {
      Ansi(found.cAlternateFileName, &entry.name);
    }
    if (entry.name == "." || entry.name == "..") continue;
    entry.is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.is_link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entries->push_back(std::move(entry));
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return true;
}

bool MakeFolders(const std::string& folder, std::string* error) {
  // The folders above are tried in turn and their failures ignored: a drive
  // or a share root cannot be made, yet is there.
  for (std::size_t end = 1; end < folder.size(); ++end) {
    if (IsSeparator(folder[end])) CreateDirectoryW(Wide(folder.substr(0, end)).c_str(), nullptr);
  }
  if (CreateDirectoryW(Wide(folder).c_str(), nullptr)) return true;
  const DWORD failure = GetLastError();
  if (KindOfPath(folder) == PathKind::kFolder) return true;
  SetLastError(failure);
  *error = LastSystemError();
  return false;
}

std::string CommandLinePath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || IsSeparator(folder.back())) return folder + name;
  return folder + "\\" + name;
}

}  // namespace skyplate

namespace skyplate {

bool CanWriteIn(const std::string& folder) {
  std::string existing = folder.empty() ? "." : folder;
  while (KindOfPath(existing) == PathKind::kNone) {
    std::size_t end = existing.size() - 1;
    while (end > 0 && !IsSeparator(existing[end - 1])) --end;
    if (end == 0) return CanWriteIn(".");
    existing.resize(end - 1 == 0 || existing[end - 1] == ':' ? end : end - 1);
  }
  // A folder's read-only mark does not stop files being made in it, and its
  // rights are hard to read: making a file there is the honest test.
  char probe[MAX_PATH];
  if (GetTempFileNameA(existing.c_str(), "sky", 0, probe) == 0) return false;
  DeleteFileA(probe);
  return true;
}

bool IsReadOnlyFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace skyplate
