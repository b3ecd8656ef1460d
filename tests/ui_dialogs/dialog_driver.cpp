#include "tests/ui_dialogs/dialog_driver.h"

namespace skyplate::testing {
namespace {

struct DialogSearch {
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<DialogSearch*>(lparam);
  if (IsWindowVisible(window) && ClassName(window) == "#32770" &&
      WindowText(window) == *search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::string WindowText(HWND window) {
  char text[2048] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

HWND WaitForDialog(DWORD thread, const std::string& caption, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  do {
    DialogSearch search{&caption, nullptr};
    EnumThreadWindows(thread, MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(10);
  } while (GetTickCount() - start < timeout_ms);
  return nullptr;
}

DialogDriver::DialogDriver(std::string caption, std::function<void(HWND dialog)> drive)
    : watcher_([this, thread = GetCurrentThreadId(), caption = std::move(caption),
                drive = std::move(drive)] {
        HWND dialog = WaitForDialog(thread, caption);
        if (!dialog) return;
        seen_ = true;
        drive(dialog);
      }) {}

DialogDriver::~DialogDriver() {
  Join();
}

void DialogDriver::Join() {
  if (watcher_.joinable()) watcher_.join();
}

void ReadAndCloseMessageBox(HWND box, MessageBoxSeen* seen) {
  seen->caption = WindowText(box);
  char text[2048] = "";
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message's static control
  seen->text = text;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace skyplate::testing
