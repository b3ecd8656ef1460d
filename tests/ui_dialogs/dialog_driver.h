// Driving the modal dialogs the code under test opens: a helper thread waits
// for the dialog to appear on the test's thread, then reads and dismisses it
// while the test's thread sits in the dialog's own message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace skyplate::testing {

std::string WindowText(HWND window);
std::string ClassName(HWND window);

// A visible top-level dialog box (class "#32770") of `thread` with the given
// caption, waited for up to `timeout_ms`; nullptr when none appeared.
HWND WaitForDialog(DWORD thread, const std::string& caption, DWORD timeout_ms = 10000);

// Starts watching the constructing thread for the dialog; `drive` runs on the
// helper thread with the dialog and must close it. Joined on destruction.
class DialogDriver {
 public:
  DialogDriver(std::string caption, std::function<void(HWND dialog)> drive);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // Whether the dialog appeared; valid after Join().
  bool Seen() const { return seen_; }
  void Join();

 private:
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
