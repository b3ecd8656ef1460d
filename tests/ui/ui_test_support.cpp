#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "topdown/build_topdown.h"
#include "topdown/silent_front_end.h"

namespace skyplate {
namespace {

namespace fs = std::filesystem;

struct WindowQuery {
  DWORD process_id;
  const char* class_name;
  const char* caption;
  HWND found = nullptr;
  int count = 0;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM query_address) {
  auto& query = *reinterpret_cast<WindowQuery*>(query_address);
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  if (process_id != query.process_id) return TRUE;
  char class_name[64] = "";
  GetClassNameA(window, class_name, sizeof(class_name));
  if (query.class_name != nullptr && std::string(class_name) != query.class_name) return TRUE;
  if (query.caption != nullptr && WindowText(window) != query.caption) return TRUE;
  query.found = window;
  ++query.count;
  return TRUE;
}

WindowQuery Query(DWORD process_id, const char* class_name, const char* caption) {
  WindowQuery query{process_id, class_name, caption};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
  return query;
}

}  // namespace

std::string WriteTrackFolder(const tools::TrackRecipe& recipe) {
  static int made = 0;
  std::ostringstream name;
  name << "skyplate-ui-" << GetCurrentProcessId() << "-" << ++made;
  const fs::path folder = fs::temp_directory_path() / name.str();
  fs::remove_all(folder);
  std::string error;
  if (!tools::WriteTrack(folder.string(), recipe, &error)) ADD_FAILURE_AT(__FILE__, __LINE__);
  return folder.string() + "\\";
}

std::string ExpectedTopdownBytes(const tools::TrackRecipe& recipe) {
  const std::string folder = WriteTrackFolder(recipe);
  SilentFrontEnd silent;
  BuildTopdown(folder + recipe.name + ".track", 0, &silent);
  return FileBytes(folder + recipe.name + "_mask_Topdown.bmp");
}

void WriteLongRunMask(const std::string& path, std::int32_t width, std::int32_t height) {
  constexpr std::uint8_t kLongestRun = 255;
  constexpr std::uint32_t kPaletteColours = 4;
  std::string row;
  for (std::int32_t left = width, index = 0; left > 0; left -= kLongestRun, ++index) {
    row += static_cast<char>(std::min<std::int32_t>(left, kLongestRun));
    row += static_cast<char>(index % kPaletteColours);
  }
  row += std::string("\0\0", 2);  // end of line

  auto le = [](std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
    return out;
  };
  const std::uint32_t pixel_bytes = static_cast<std::uint32_t>(row.size()) * height + 2;
  const std::uint32_t pixel_offset = 14 + 40 + 4 * kPaletteColours;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << "BM" << le(pixel_offset + pixel_bytes, 4) << le(0, 4) << le(pixel_offset, 4);
  file << le(40, 4) << le(width, 4) << le(height, 4) << le(1, 2) << le(8, 2) << le(BI_RLE8, 4)
       << le(pixel_bytes, 4) << le(2835, 4) << le(2835, 4) << le(kPaletteColours, 4) << le(0, 4);
  // Red, green, blue and grey, stored blue first.
  file << le(0x00FF0000, 4) << le(0x0000FF00, 4) << le(0x000000FF, 4) << le(0x00808080, 4);
  for (std::int32_t y = 0; y < height; ++y) file << row;
  file << std::string("\0\1", 2);  // end of bitmap
}

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string WindowText(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

bool WaitUntil(const std::function<bool()>& condition, int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

HWND FindTopLevelWindow(DWORD process_id, const char* class_name, const char* caption) {
  return Query(process_id, class_name, caption).found;
}

int CountTopLevelWindows(DWORD process_id, const char* caption) {
  return Query(process_id, nullptr, caption).count;
}

void CloseTopLevelWindows(DWORD process_id, const char* caption) {
  while (HWND window = FindTopLevelWindow(process_id, nullptr, caption)) {
    SendMessageA(window, WM_CLOSE, 0, 0);
  }
}

MessageBoxAnswerer::MessageBoxAnswerer(DWORD process_id, int milliseconds)
    : thread_([this, process_id, milliseconds] {
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = FindTopLevelWindow(process_id, "#32770")) != nullptr; },
                       milliseconds))
          return;
        // The text arrives a moment after the caption.
        WaitUntil(
            [&] { return GetDlgItem(box, 0xFFFF) && !WindowText(GetDlgItem(box, 0xFFFF)).empty(); },
            2000);
        caption_ = WindowText(box);
        text_ = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        answered_ = true;
      }) {}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  if (thread_.joinable()) thread_.join();
}

bool MessageBoxAnswerer::Answered() {
  if (thread_.joinable()) thread_.join();
  return answered_;
}

}  // namespace skyplate
