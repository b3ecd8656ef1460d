// A file read at given offsets, so that several threads can read their own
// parts of it at once.
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

  bool Open(const std::string& path);
  // Reads up to `size` bytes at byte `offset`; returns how many arrived
  // (fewer at the end of the file or on a read error).
  std::size_t ReadAt(std::uint64_t offset, void* data, std::size_t size) const;
  // The file's length in bytes when opened; 0 when it cannot be told.
  std::uint64_t Size() const;

 private:
  std::intptr_t handle_ = -1;
};

}  // namespace skyplate
