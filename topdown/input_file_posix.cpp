#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "topdown/input_file.h"
#include "topdown/system_error.h"

namespace skyplate {

InputFile::~InputFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool InputFile::Open(const std::string& path, std::string* error) {
  // O_NONBLOCK: opening a FIFO would otherwise wait for a writer forever.
  // On a regular file it changes nothing.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = "cannot open the file: " + LastSystemError();
    return false;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    *error = S_ISDIR(status.st_mode) ? "is a folder, not a regular file" : "is not a regular file";
    ::close(fd);
    return false;
  }
  handle_ = fd;
  size_ = static_cast<std::uint64_t>(status.st_size);
  return true;
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

}  // namespace skyplate
