#include <windows.h>

#include "topdown/input_file.h"
#include "topdown/system_error.h"

namespace skyplate {
namespace {

HANDLE AsHandle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

InputFile::~InputFile() {
  if (AsHandle(handle_) != INVALID_HANDLE_VALUE) CloseHandle(AsHandle(handle_));
}

bool InputFile::Open(const std::string& path, std::string* error) {
  // A folder cannot be opened as a file at all; asking first gives the
  // true reason instead of "access denied".
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    *error = "is a folder, not a regular file";
    return false;
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = "cannot open the file: " + LastSystemError();
    return false;
  }
  // Pipes, consoles and devices such as NUL are no disk files.
  LARGE_INTEGER size{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
    *error = "is not a regular file";
    CloseHandle(file);
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

std::size_t InputFile::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
  char* bytes = static_cast<char*>(data);
  std::size_t got = 0;
  while (got < size) {
    // ReadFile takes 32-bit counts; larger blocks come in pieces.
    const std::size_t left = size - got;
    const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset + got);
    at.OffsetHigh = static_cast<DWORD>((offset + got) >> 32);
    DWORD n = 0;
    if (!ReadFile(AsHandle(handle_), bytes + got, chunk, &n, &at) || n == 0) break;
    got += n;
  }
  return got;
}

}  // namespace skyplate
