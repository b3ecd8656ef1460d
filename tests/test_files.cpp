#include "tests/test_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

namespace skyplate::testing {

ScratchFolder::ScratchFolder() {
  std::random_device random;
  do {
    path_ = std::filesystem::temp_directory_path() / ("skyplate-test-" + std::to_string(random()));
  } while (!std::filesystem::create_directory(path_));
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::uint8_t> Rle8File(std::int32_t width, std::int32_t height,
                                   const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> file(14 + 40 + 8, 0);
  auto put32 = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(10, 14 + 40 + 8);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  file[26] = 1;  // planes
  file[28] = 8;  // bits per pixel
  file[30] = 1;  // BI_RLE8
  file[46] = 2;  // two palette colours: black and white
  file[58] = file[59] = file[60] = 0xFF;
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

}  // namespace skyplate::testing
