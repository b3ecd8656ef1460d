// A file written beside its final place and put there only once complete, so
// that a failed write never leaves a truncated file where a good one stood.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace skyplate {

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  // Removes the temporary file of an output that was never committed.
  ~OutputFile();

  // Creates a new temporary file in the folder of `path`, or of the file a
  // symbolic link at `path` points to, which is then the file replaced. A
  // read-only file at `path` is refused: it stays as it is.
  bool Create(const std::string& path, std::string* error);
  // Writes `size` bytes at byte `offset`; a short or failed write is an
  // error. Parts may come in any order.
  bool WriteAt(std::uint64_t offset, const void* data, std::size_t size, std::string* error);
  // Closes the temporary file and puts it in place of `path`, replacing any
  // older file there. On Windows a file another program holds open stays as
  // it was and the commit fails.
  bool Commit(std::string* error);

 private:
  enum class Creation { kCreated, kNameTaken, kFailed };
  // Follows symbolic links from path_ and refuses a read-only picture; the
  // platform's part of Create.
  bool ResolveTarget(std::string* error);
  // Creates temp_path_ exclusively; the platform's part of Create.
  Creation CreateTemporary(std::string* error);
  void Discard();

  std::string path_;
  std::string temp_path_;
  std::intptr_t handle_ = -1;
#ifndef _WIN32
  // Where temp_path_ is entered for removal on an interrupt (see
  // live_temporary_files.h); Windows deletes the file by its handle instead.
  int live_slot_ = -1;
#endif
};

}  // namespace skyplate
