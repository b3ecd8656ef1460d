// Driving the modal windows the code under test opens: a helper thread waits
// for the window to appear on the test's thread, then reads and dismisses it
// while the test's thread sits in the window's own message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace skyplate::testing {

std::string WindowText(HWND window);
std::string ClassName(HWND window);

using WindowMatch = std::function<bool(HWND)>;

// A visible dialog box (class "#32770": message boxes, common dialogs).
WindowMatch DialogCaptioned(std::string caption);
WindowMatch AnyDialog();
// A visible window of the class.
WindowMatch WindowOfClass(std::string class_name);

// A top-level window of `thread` that matches, waited for up to `timeout_ms`;
// nullptr when none appeared.
HWND WaitForWindow(DWORD thread, const WindowMatch& match, DWORD timeout_ms = 10000);

// Starts watching the constructing thread for a matching window; `drive` runs
// on the helper thread with the window and must make it go away.
class DialogDriver {
 public:
  DialogDriver(WindowMatch match, std::function<void(HWND window)> drive);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // Waits for the helper; afterwards Seen() tells whether the window came.
  void Join();
  bool Seen() const { return seen_; }
  // The thread being watched, for finding the windows it opens next.
  DWORD watched_thread() const { return watched_thread_; }

 private:
  DWORD watched_thread_;
  bool seen_ = false;
  std::thread watcher_;
};

// Reads a message box's caption and text, then presses its OK button.
struct MessageBoxSeen {
  std::string caption;
  std::string text;
};
void ReadAndCloseMessageBox(HWND box, MessageBoxSeen* seen);

}  // namespace skyplate::testing
