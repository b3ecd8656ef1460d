// Scratch folders and whole-file reads for tests that touch the disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace skyplate::testing {

// A new empty folder, removed with everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // `name` inside the folder, as a string the core's file functions take.
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  // Names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);

// A hand-made RLE8 file of width x height pixels: a palette of black and
// white, then `data`.
std::vector<std::uint8_t> Rle8File(std::int32_t width, std::int32_t height,
                                   const std::vector<std::uint8_t>& data);

}  // namespace skyplate::testing
