#include "ui/options_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/track_folder.h"
#include "tests/ui_dialogs/dialog_driver.h"
#include "tests/ui_dialogs/registry_helpers.h"

namespace skyplate {
namespace {

using testing::DialogDriver;
using testing::StoredBytes;

enum Id { kBrowse = 1000, kFolder = 1001, kApply = 1002, kCancel = 1003, kOk = 1004 };

// Everything below runs on the helper thread while the Options window's own
// loop runs on the test's thread. Clicks are posted, so that a message box
// they open does not block the helper that has to read it.
void Click(HWND options, int id) {
  PostMessageA(options, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(options, id)));
}

std::string FolderText(HWND options) {
  return testing::WindowText(GetDlgItem(options, kFolder));
}

void TypeFolder(HWND options, const char* text) {
  SendMessageA(GetDlgItem(options, kFolder), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

bool GoneWithin(HWND window, DWORD ms) {
  const DWORD start = GetTickCount();
  while (IsWindow(window)) {
    if (GetTickCount() - start > ms) return false;
    Sleep(10);
  }
  return true;
}

HWND FocusOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Presses a key on the focused control, as the keyboard would.
void PressKey(DWORD thread, WPARAM key) {
  HWND focus = FocusOf(thread);
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

// Waits until the focus leaves `from`, which shows that the keys posted
// before have been handled.
HWND FocusAfterLeaving(DWORD thread, HWND from) {
  for (int i = 0; i < 300 && FocusOf(thread) == from; ++i) Sleep(10);
  return FocusOf(thread);
}

class OptionsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::DeleteKeyTree(kTrackFolderKeyPath);
    // Any visible top-level window can stand in for the main window.
    owner_ = CreateWindowExA(0, "Static", "Options owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                             320, 240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  void TearDown() override {
    DestroyWindow(owner_);
    testing::DeleteKeyTree(kTrackFolderKeyPath);
  }

  // Shows the window over owner_ and hands it to `drive` on the helper
  // thread, which must close it; returns when it is gone.
  void Run(const std::function<void(HWND options, DWORD gui_thread)>& drive) {
    DialogDriver driver(testing::WindowOfClass("FORM_SKYPLATE_FORM2_CLASS"),
                        [&](HWND options) { drive(options, driver.watched_thread()); });
    ShowOptionsWindow(owner_);
    driver.Join();
    EXPECT_TRUE(driver.Seen());
    EXPECT_TRUE(IsWindowEnabled(owner_));
  }

  std::string StoredFolder() { return StoredBytes(kTrackFolderKeyPath, kTrackFolderValueName); }
  static void StoreFolder(const std::string& text) {
    testing::StoreRawValue(kTrackFolderKeyPath, kTrackFolderValueName, REG_SZ, text + '\0');
  }

  HWND owner_ = nullptr;
};

struct ControlSeen {
  int id;
  std::string class_name;
  std::string text;
  RECT rect;
  LONG_PTR style;
  LONG_PTR ex_style;
  bool operator==(const ControlSeen&) const = default;
};

void PrintTo(const ControlSeen& c, std::ostream* out) {
  *out << c.id << " " << c.class_name << " \"" << c.text << "\" (" << c.rect.left << ","
       << c.rect.top << ")-(" << c.rect.right << "," << c.rect.bottom << ") " << std::hex << c.style
       << " " << c.ex_style << std::dec;
}

bool operator==(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b);
}

// The form's children in creation (and so tab) order, in client coordinates.
std::vector<ControlSeen> ControlsOf(HWND form) {
  std::vector<ControlSeen> controls;
  for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rect), 2);
    controls.push_back({GetDlgCtrlID(child), testing::ClassName(child), testing::WindowText(child),
                        rect, GetWindowLongPtrA(child, GWL_STYLE),
                        GetWindowLongPtrA(child, GWL_EXSTYLE)});
  }
  return controls;
}

TEST_F(OptionsWindow, ShowsItsSixControlsOverTheDisabledOwner) {
  const std::vector<ControlSeen> expected = {
      {1000, "Button", ". . .", {504, 44, 545, 69}, 0x50014F00, 0},
      {1001, "Edit", "", {12, 44, 490, 69}, 0x50010080, WS_EX_CLIENTEDGE},
      {1002, "Button", "&Apply", {380, 96, 450, 127}, 0x50014F00, 0},
      {1003, "Button", "&Cancel", {476, 96, 546, 127}, 0x50014F00, 0},
      {1004, "Button", "&Ok", {292, 96, 362, 127}, 0x50014F00, 0},
      {1005,
       "Static",
       "Tracks Folder (Place where you put all your track files/folders):",
       {16, 16, 370, 33},
       0x56000100,
       0},
  };
  Run([&](HWND options, DWORD) {
    EXPECT_EQ(testing::WindowText(options), "Options - Defaults");
    EXPECT_EQ(GetWindowLongPtrA(options, GWL_STYLE), 0x96CF0000);
    EXPECT_EQ(GetWindowLongPtrA(options, GWL_EXSTYLE), 0x10100);
    RECT frame{};
    GetWindowRect(options, &frame);
    EXPECT_EQ(frame.right - frame.left, 567);
    EXPECT_EQ(frame.bottom - frame.top, 187);
    EXPECT_EQ(ControlsOf(options), expected);
    EXPECT_FALSE(IsWindowEnabled(owner_));
    Click(options, kCancel);
  });
}

TEST_F(OptionsWindow, ShowsAnEmptyBoxOnFirstRunAndTheStoredTextExactly) {
  Run([&](HWND options, DWORD) {
    EXPECT_EQ(FolderText(options), "");
    Click(options, kCancel);
  });
  StoreFolder("D:\\Dunerally Tracks\\");
  Run([&](HWND options, DWORD) {
    EXPECT_EQ(FolderText(options), "D:\\Dunerally Tracks\\");
    Click(options, kCancel);
  });
}

TEST_F(OptionsWindow, CancelAfterApplyLosesOnlyTheLaterTyping) {
  Run([&](HWND options, DWORD) {
    TypeFolder(options, "C:\\Applied\\");
    Click(options, kApply);
    for (int i = 0; i < 300 && StoredFolder() == "<missing>"; ++i) Sleep(10);
    EXPECT_TRUE(IsWindow(options));
    TypeFolder(options, "C:\\Typed later");
    Click(options, kCancel);
  });
  EXPECT_EQ(StoredFolder(), std::string("C:\\Applied\\\0", 12));
}

TEST_F(OptionsWindow, OkSavesAndCloses) {
  Run([&](HWND options, DWORD) {
    TypeFolder(options, "E:\\tracks");
    Click(options, kOk);
    EXPECT_TRUE(GoneWithin(options, 3000));
  });
  EXPECT_EQ(StoredFolder(), std::string("E:\\tracks\0", 10));
}

TEST_F(OptionsWindow, OkThatCannotSaveSaysSoAndStaysOpen) {
  StoreFolder("C:\\Kept");
  testing::DenyWritingToKey(kTrackFolderKeyPath);
  testing::MessageBoxSeen seen;
  Run([&](HWND options, DWORD gui_thread) {
    TypeFolder(options, "C:\\Lost");
    Click(options, kOk);
    HWND box = testing::WaitForWindow(gui_thread, testing::AnyDialog());
    ASSERT_NE(box, nullptr);
    testing::ReadAndCloseMessageBox(box, &seen);
    EXPECT_FALSE(GoneWithin(options, 300));
    EXPECT_EQ(FolderText(options), "C:\\Lost");
    Click(options, kCancel);
  });
  EXPECT_EQ(seen.caption, "Save Default Track Folder");
  EXPECT_EQ(seen.text, "Error saving default Track Folder");
  EXPECT_EQ(StoredFolder(), std::string("C:\\Kept\0", 8));
}

TEST_F(OptionsWindow, FolderBrowserOpensBesideTheWindowAtDriveC) {
  RECT options_frame{};
  RECT browser_frame{};
  Run([&](HWND options, DWORD gui_thread) {
    GetWindowRect(options, &options_frame);
    Click(options, kBrowse);
    HWND browser = testing::WaitForWindow(gui_thread, testing::AnyDialog());
    ASSERT_NE(browser, nullptr);
    Sleep(100);  // the browser moves itself once initialised
    GetWindowRect(browser, &browser_frame);
    PostMessageA(browser, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(GoneWithin(browser, 3000));
    for (int i = 0; i < 300 && FolderText(options).empty(); ++i) Sleep(10);
    EXPECT_EQ(FolderText(options), "C:\\");
    Click(options, kCancel);
  });
  EXPECT_EQ(browser_frame.left, options_frame.left + 30);
  EXPECT_EQ(browser_frame.top, options_frame.top + 30);
  EXPECT_EQ(StoredFolder(), "<missing>");
}

TEST_F(OptionsWindow, CancelledFolderBrowserEmptiesTheBoxWhichOkThenStores) {
  StoreFolder("C:\\Before");
  Run([&](HWND options, DWORD gui_thread) {
    Click(options, kBrowse);
    HWND browser = testing::WaitForWindow(gui_thread, testing::AnyDialog());
    ASSERT_NE(browser, nullptr);
    PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(GoneWithin(browser, 3000));
    for (int i = 0; i < 300 && !FolderText(options).empty(); ++i) Sleep(10);
    EXPECT_EQ(FolderText(options), "");
    Click(options, kOk);
    EXPECT_TRUE(GoneWithin(options, 3000));
  });
  EXPECT_EQ(StoredFolder(), std::string("\0", 1));
}

TEST_F(OptionsWindow, TabCyclesTheControlsAndEscapeClosesNothing) {
  std::vector<int> tab_order;
  bool open_after_escape = false;
  Run([&](HWND options, DWORD gui_thread) {
    HWND focus = FocusOf(gui_thread);
    tab_order.push_back(GetDlgCtrlID(focus));
    for (int i = 0; i < 5; ++i) {
      PressKey(gui_thread, VK_TAB);
      focus = FocusAfterLeaving(gui_thread, focus);
      tab_order.push_back(GetDlgCtrlID(focus));
      // Esc on the edit box and on a button, each followed by a Tab that
      // proves the Esc before it was handled.
      if (i == 0 || i == 2) PressKey(gui_thread, VK_ESCAPE);
    }
    open_after_escape = IsWindow(options);
    EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(options, focus, TRUE)), kOk);
    Click(options, kCancel);
  });
  EXPECT_EQ(tab_order, (std::vector<int>{kBrowse, kFolder, kApply, kCancel, kOk, kBrowse}));
  EXPECT_TRUE(open_after_escape);
}

TEST_F(OptionsWindow, ResizingAndMaximisingLeaveTheControlsInPlace) {
  Run([&](HWND options, DWORD) {
    const std::vector<ControlSeen> created = ControlsOf(options);
    SetWindowPos(options, nullptr, 0, 0, 800, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(ControlsOf(options), created);
    ShowWindow(options, SW_MAXIMIZE);
    EXPECT_EQ(ControlsOf(options), created);
    Click(options, kCancel);
  });
}

TEST_F(OptionsWindow, CloseBoxSavesNothing) {
  Run([&](HWND options, DWORD) {
    TypeFolder(options, "C:\\Never saved");
    PostMessageA(options, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(GoneWithin(options, 3000));
  });
  EXPECT_EQ(StoredFolder(), "<missing>");
}

}  // namespace
}  // namespace skyplate
