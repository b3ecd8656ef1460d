#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "topdown/output_file.h"
#include "topdown/system_error.h"

namespace skyplate {
namespace {

std::string Reason(const char* what) {
  return std::string(what) + ": " + LastSystemError();
}

}  // namespace

OutputFile::~OutputFile() {
  Discard();
}

void OutputFile::Discard() {
  if (handle_ < 0) return;
  ::close(static_cast<int>(handle_));
  ::unlink(temp_path_.c_str());
  handle_ = -1;
}

OutputFile::Creation OutputFile::CreateTemporary(std::string* error) {
  const int fd = ::open(temp_path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    handle_ = fd;
    return Creation::kCreated;
  }
  if (errno == EEXIST) return Creation::kNameTaken;
  *error = Reason("cannot create a temporary file beside it");
  return Creation::kFailed;
}

bool OutputFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size,
                         std::string* error) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t written = ::pwrite(static_cast<int>(handle_), bytes, size, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      *error = written < 0 ? Reason("write failed") : "write failed: nothing was written";
      return false;
    }
    bytes += written;
    offset += static_cast<std::uint64_t>(written);
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool OutputFile::Commit(std::string* error) {
  int fd = static_cast<int>(handle_);
  handle_ = -1;
  // No fsync: write errors (a full disk) show in write and close already, and
  // forcing a 200 MB picture to disk would cost more than building it.
  if (::close(fd) != 0) {
    *error = Reason("write failed");
    ::unlink(temp_path_.c_str());
    return false;
  }
  if (::rename(temp_path_.c_str(), path_.c_str()) != 0) {
    *error = Reason("cannot replace the file");
    ::unlink(temp_path_.c_str());
    return false;
  }
  return true;
}

}  // namespace skyplate
