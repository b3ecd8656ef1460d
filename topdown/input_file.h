// A file read at given offsets, so that several threads can read their own
// parts of it at once. Every file a track names is opened through it: the
// open never blocks, and only regular files are accepted, so a FIFO or a
// device named by a stranger's track cannot hang or flood a build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace skyplate {

class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // Opens a regular file for reading. On failure `error` completes a
  // sentence that starts with the file's name (see FileFailureText).
  bool Open(const std::string& path, std::string* error);
  // The file's length when it was opened.
  std::uint64_t size() const { return size_; }
  // Reads up to `size` bytes at byte `offset`; returns how many arrived
  // (fewer at the end of the file or on a read error).
  std::size_t ReadAt(std::uint64_t offset, void* data, std::size_t size) const;

 private:
  std::intptr_t handle_ = -1;
  std::uint64_t size_ = 0;
};

}  // namespace skyplate
