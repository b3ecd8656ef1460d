#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

#include "topdown/live_temporary_files.h"
#include "topdown/output_file.h"
#include "topdown/system_error.h"

namespace skyplate {
namespace {

std::string Reason(const char* what) {
  return std::string(what) + ": " + LastSystemError();
}

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinkHops = 40;

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

}  // namespace

OutputFile::~OutputFile() {
  Discard();
}

void OutputFile::Discard() {
  if (handle_ < 0) return;
  ::close(static_cast<int>(handle_));
  ::unlink(temp_path_.c_str());
  LeaveTemporaryFile(std::exchange(live_slot_, -1));
  handle_ = -1;
}

bool OutputFile::ResolveTarget(std::string* error) {
  namespace fs = std::filesystem;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat status {};
    // Nothing there yet, or nothing we may look at: creating says why.
    if (::lstat(path_.c_str(), &status) != 0) return true;
    if (S_ISLNK(status.st_mode)) {
      std::error_code failed;
      const fs::path target = fs::read_symlink(path_, failed);
      if (failed) return true;
      path_ = (fs::path(path_).parent_path() / target).string();
      continue;
    }
    // Renaming over the file would need only the folder's permission; the
    // file's own says whether its owner wants it kept. Root passes access(),
    // so the mode bits are asked as well.
    if (S_ISREG(status.st_mode) &&
        ((status.st_mode & kAnyWriteBit) == 0 || ::access(path_.c_str(), W_OK) != 0)) {
      *error = "the picture is read-only";
      return false;
    }
    return true;
  }
  *error = "the picture is a chain of too many symbolic links";
  return false;
}

OutputFile::Creation OutputFile::CreateTemporary(std::string* error) {
  const int fd = ::open(temp_path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    handle_ = fd;
    live_slot_ = EnterTemporaryFile(temp_path_.c_str());
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
    LeaveTemporaryFile(std::exchange(live_slot_, -1));
    return false;
  }
  const bool renamed = ::rename(temp_path_.c_str(), path_.c_str()) == 0;
  if (!renamed) {
    *error = Reason("cannot replace the file");
    ::unlink(temp_path_.c_str());
  }
  LeaveTemporaryFile(std::exchange(live_slot_, -1));
  return renamed;
}

}  // namespace skyplate
