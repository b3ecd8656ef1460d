#include <windows.h>

#include "topdown/output_file.h"
#include "topdown/system_error.h"

namespace skyplate {
namespace {

std::string Reason(const char* what) {
  return std::string(what) + ": " + LastSystemError();
}

HANDLE AsHandle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// Marked, the file goes when its last handle closes, however the process
// ends: interrupted from the console, closed during a build, or killed.
bool MarkForDeletion(HANDLE file, bool deleted) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = deleted ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) !=
         FALSE;
}

}  // namespace

OutputFile::~OutputFile() {
  Discard();
}

void OutputFile::Discard() {
  if (AsHandle(handle_) == INVALID_HANDLE_VALUE) return;
  // Marked for deletion, the file goes with its handle.
  CloseHandle(AsHandle(handle_));
  handle_ = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
}

// Replacing a read-only file would fail at the very end with "access
// denied"; saying so before the work starts is kinder. A symbolic link is
// replaced itself, as the system's own file moves do.
bool OutputFile::ResolveTarget(std::string* error) {
  const DWORD attributes = GetFileAttributesA(path_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
      (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    *error = "the picture is read-only";
    return false;
  }
  return true;
}

OutputFile::Creation OutputFile::CreateTemporary(std::string* error) {
  HANDLE file = CreateFileA(temp_path_.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_EXISTS) return Creation::kNameTaken;
    *error = Reason("cannot create a temporary file beside it");
    return Creation::kFailed;
  }
  if (!MarkForDeletion(file, true)) {
    *error = Reason("cannot create a temporary file beside it");
    CloseHandle(file);
    DeleteFileA(temp_path_.c_str());
    return Creation::kFailed;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return Creation::kCreated;
}

bool OutputFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size,
                         std::string* error) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    // WriteFile takes 32-bit counts; larger blocks go in pieces.
    DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    if (!WriteFile(AsHandle(handle_), bytes, chunk, &written, &at) || written != chunk) {
      *error = Reason("write failed");
      return false;
    }
    bytes += written;
    offset += written;
    size -= written;
  }
  return true;
}

bool OutputFile::Commit(std::string* error) {
  HANDLE file = AsHandle(handle_);
  handle_ = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
  // No flush to disk: write errors (a full disk) show in WriteFile already.
  // Kept from here on: only a process ended between this and the rename
  // leaves the temporary file behind.
  if (!MarkForDeletion(file, false)) {
    *error = Reason("cannot keep the file");
    CloseHandle(file);
    return false;
  }
  CloseHandle(file);
  // Fails with a sharing violation while another program holds the old file
  // open, which then stays exactly as it was.
  if (!MoveFileExA(temp_path_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    *error = Reason("cannot replace the file");
    DeleteFileA(temp_path_.c_str());
    return false;
  }
  return true;
}

}  // namespace skyplate
