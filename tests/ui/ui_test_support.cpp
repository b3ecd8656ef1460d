#include "ui_test_support.h"

#include <gtest/gtest.h>

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

MessageBoxAnswerer::MessageBoxAnswerer(DWORD process_id)
    : thread_([this, process_id] {
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = FindTopLevelWindow(process_id, "#32770")) != nullptr; }))
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
