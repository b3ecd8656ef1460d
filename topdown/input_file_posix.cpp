#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "topdown/input_file.h"

namespace skyplate {

InputFile::~InputFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool InputFile::Open(const std::string& path) {
  handle_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  return handle_ >= 0;
}

std::size_t InputFile::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
  char* bytes = static_cast<char*>(data);
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::pread(static_cast<int>(handle_), bytes + got, size - got,
                              static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

std::uint64_t InputFile::Size() const {
  struct stat status;
  if (::fstat(static_cast<int>(handle_), &status) != 0 || status.st_size < 0) return 0;
  return static_cast<std::uint64_t>(status.st_size);
}

}  // namespace skyplate
