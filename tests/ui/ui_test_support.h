// Helpers of the program's tests: tracks on disk, the expected picture of a
// track, finding windows and answering message boxes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "tools/track_generator.h"

namespace skyplate {

// A new folder under the temporary folder holding the track of `recipe`;
// returns the folder, ending in a backslash.
std::string WriteTrackFolder(const tools::TrackRecipe& recipe);

// The bytes the core's build writes for the track of `recipe`, built in a
// folder of its own without any window.
std::string ExpectedTopdownBytes(const tools::TrackRecipe& recipe);

// Replaces the mask map of a track with a run-length encoded one of any size
// whose file stays small: rows of long runs in four colours.
void WriteLongRunMask(const std::string& path, std::int32_t width, std::int32_t height);

std::string FileBytes(const std::string& path);
std::string WindowText(HWND window);

// True once `condition` holds, polling for up to `milliseconds`.
bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 10000);

// The top-level window of process `process_id` with this class name (and
// caption, when given), or nullptr.
HWND FindTopLevelWindow(DWORD process_id, const char* class_name, const char* caption = nullptr);
int CountTopLevelWindows(DWORD process_id, const char* caption);
void CloseTopLevelWindows(DWORD process_id, const char* caption);

// Waits on a thread of its own for the next message box of a process,
// remembers its caption and text and presses OK.
class MessageBoxAnswerer {
 public:
  // Waits up to `milliseconds` for the box to appear.
  explicit MessageBoxAnswerer(DWORD process_id, int milliseconds = 10000);
  ~MessageBoxAnswerer();
  // Waits for the box to have been answered; false when none appeared.
  bool Answered();
  std::string caption() const { return caption_; }
  std::string text() const { return text_; }

 private:
  std::thread thread_;
  bool answered_ = false;
  std::string caption_;
  std::string text_;
};

}  // namespace skyplate
