#include "tests/ui_dialogs/dialog_driver.h"

namespace skyplate::testing {
namespace {

struct WindowSearch {
  const WindowMatch* match;
  HWND found;
};

BOOL CALLBACK TryWindow(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<WindowSearch*>(lparam);
  if (!(*search->match)(window)) return TRUE;
  search->found = window;
  return FALSE;
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

WindowMatch WindowOfClass(std::string class_name) {
  return [class_name](HWND window) {
    return IsWindowVisible(window) && ClassName(window) == class_name;
  };
}

WindowMatch AnyDialog() {
  return WindowOfClass("#32770");
}

WindowMatch DialogCaptioned(std::string caption) {
  return [caption, dialog = AnyDialog()](HWND window) {
    return dialog(window) && WindowText(window) == caption;
  };
}

HWND WaitForWindow(DWORD thread, const WindowMatch& match, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  do {
    WindowSearch search{&match, nullptr};
    EnumThreadWindows(thread, TryWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(10);
  } while (GetTickCount() - start < timeout_ms);
  return nullptr;
}

DialogDriver::DialogDriver(WindowMatch match, std::function<void(HWND window)> drive)
    : watched_thread_(GetCurrentThreadId()),
      watcher_([this, match = std::move(match), drive = std::move(drive)] {
        HWND window = WaitForWindow(watched_thread_, match);
        if (!window) return;
        seen_ = true;
        drive(window);
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
