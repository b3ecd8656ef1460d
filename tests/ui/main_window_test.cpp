#include <string>

#include "main_window_fixture.h"
#include "ui_test_support.h"

namespace skyplate {
namespace {

struct ExpectedControl {
  int id;
  const char* class_name;
  const char* text;
  RECT rect;
  DWORD style;
  DWORD ex_style;
};

const ExpectedControl kControls[] = {
    {1000, "Edit", "", {20, 12, 652, 40}, 0x50010080, WS_EX_CLIENTEDGE},
    {1001, "Button", ". . .", {660, 12, 699, 41}, 0x50014F00, 0},
    {1002, "Button", "&Skyplate", {264, 52, 456, 81}, 0x50014F00, 0},
    // SS_SUNKEN is drawn by the static edge the system adds for it.
    {1003, "Static", "", {0, 94, 720, 118}, 0x56801100, WS_EX_STATICEDGE},
};

RECT RectInClient(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

TEST_F(MainWindowTest, FixedCentredWindowWithItsClientArea) {
  EXPECT_EQ(ClassOf(window_), "FORM_SKYPLATE_FORM1_CLASS");
  EXPECT_EQ(WindowText(window_), "Skyplate");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), 0x96C80000u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)), 0x00010100u);
  RECT client;
  GetClientRect(window_, &client);
  EXPECT_EQ(client.right, 719);
  EXPECT_EQ(client.bottom, 116);
  RECT outer;
  GetWindowRect(window_, &outer);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 725) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 163) / 2);
  EXPECT_NE(GetClassLongPtrA(window_, GCLP_HICON), 0);
  EXPECT_NE(GetClassLongPtrA(window_, GCLP_HICONSM), 0);
}

TEST_F(MainWindowTest, ControlsInPlaceWithIdsStylesAndFont) {
  HWND child = GetWindow(window_, GW_CHILD);
  for (const ExpectedControl& expected : kControls) {
    SCOPED_TRACE(expected.id);
    HWND control = GetDlgItem(window_, expected.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control, child);  // created in this order, which is the Z order
    child = GetWindow(child, GW_HWNDNEXT);
    EXPECT_EQ(ClassOf(control), expected.class_name);
    EXPECT_EQ(WindowText(control), expected.text);
    const RECT rect = RectInClient(control);
    EXPECT_TRUE(EqualRect(&expected.rect, &rect));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE)), expected.style);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE)), expected.ex_style);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);
  }
  EXPECT_EQ(child, nullptr);
}

TEST_F(MainWindowTest, TabCyclesEditBrowseBuildAndFocusStartsInTheEdit) {
  HWND edit = GetDlgItem(window_, 1000);
  EXPECT_EQ(GetFocus(), edit);
  HWND browse = GetNextDlgTabItem(window_, edit, FALSE);
  HWND build = GetNextDlgTabItem(window_, browse, FALSE);
  EXPECT_EQ(browse, GetDlgItem(window_, 1001));
  EXPECT_EQ(build, GetDlgItem(window_, 1002));
  EXPECT_EQ(GetNextDlgTabItem(window_, build, FALSE), edit);
}

struct ExpectedItem {
  int position;
  UINT id;
  const char* text;  // nullptr for a separator
};

void ExpectDropDown(HMENU bar, int position, UINT id, const char* text,
                    std::initializer_list<ExpectedItem> items) {
  char buffer[32] = "";
  MENUITEMINFOA info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_FTYPE;
  info.dwTypeData = buffer;
  info.cch = sizeof(buffer);
  ASSERT_TRUE(GetMenuItemInfoA(bar, position, TRUE, &info));
  EXPECT_EQ(info.wID, id);
  EXPECT_STREQ(buffer, text);
  ASSERT_NE(info.hSubMenu, nullptr);
  EXPECT_EQ(GetMenuItemCount(info.hSubMenu), static_cast<int>(items.size()));
  for (const ExpectedItem& item : items) {
    MENUITEMINFOA entry{};
    entry.cbSize = sizeof(entry);
    entry.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
    char label[32] = "";
    entry.dwTypeData = label;
    entry.cch = sizeof(label);
    ASSERT_TRUE(GetMenuItemInfoA(info.hSubMenu, item.position, TRUE, &entry));
    if (item.text == nullptr) {
      EXPECT_NE(entry.fType & MFT_SEPARATOR, 0u);
    } else {
      EXPECT_EQ(entry.wID, item.id);
      EXPECT_STREQ(label, item.text);
    }
  }
}

TEST_F(MainWindowTest, MenuBarFileOptionsHelp) {
  HMENU bar = GetMenu(window_);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenuItemCount(bar), 3);
  ExpectDropDown(bar, 0, 6000, "&File", {{0, 6001, "&Open"}, {1, 0, nullptr}, {2, 6003, "E&xit"}});
  ExpectDropDown(bar, 1, 6004, "&Options", {{0, 6005, "&Defaults"}});
  ExpectDropDown(bar, 2, 6006, "&Help", {{0, 6007, "&Help"}, {1, 0, nullptr}, {2, 6009, "&About"}});
}

TEST_F(MainWindowTest, EmptyPathAsksForAFilenameAndBuildsNothing) {
  MessageBoxAnswerer answerer(GetCurrentProcessId());
  Click(1002);
  ASSERT_TRUE(answerer.Answered());
  EXPECT_EQ(answerer.caption(), "Skyplate");
  EXPECT_EQ(answerer.text(), "Please enter a filename.");
  EXPECT_EQ(WindowText(GetDlgItem(window_, 1003)), "");
  EXPECT_EQ(CountTopLevelWindows(GetCurrentProcessId(), "Topdown"), 0);
}

TEST_F(MainWindowTest, FileExitEndsTheWindow) {
  SendMessageA(window_, WM_COMMAND, MAKEWPARAM(6003, 0), 0);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(MainWindow, nullptr);
}

}  // namespace
}  // namespace skyplate
