#include "ui/about_help.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "tests/ui_dialogs/dialog_driver.h"

namespace skyplate {
namespace {

using testing::DialogDriver;
using testing::MessageBoxSeen;

BOOL CALLBACK FindVisibleIcon(HWND child, LPARAM found) {
  const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
  if (IsWindowVisible(child) && (style & SS_TYPEMASK) == SS_ICON &&
      SendMessageA(child, STM_GETICON, 0, 0) != 0) {
    *reinterpret_cast<bool*>(found) = true;
  }
  return TRUE;
}

bool ShowsAnIcon(HWND box) {
  bool found = false;
  EnumChildWindows(box, FindVisibleIcon, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST(AboutBox, TextHasFourLinesWithTheVersionPositionsForASign) {
  EXPECT_EQ(AboutBoxText(1, 0),
            "Skyplate v 1. 0 - for Dunerally\n\n"
            "Top-down terrain pictures for track makers\n2/25/2011");
  EXPECT_EQ(AboutBoxText(-2, 13).substr(0, 20), "Skyplate v-2. 13 - f");
}

TEST(AboutBox, ShowsThePlainBoxByteForByte) {
  MessageBoxSeen seen;
  bool has_icon = true;
  bool has_cancel = true;
  DialogDriver driver(testing::DialogCaptioned("About - Skyplate"), [&](HWND box) {
    has_icon = ShowsAnIcon(box);
    has_cancel = GetDlgItem(box, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(box, IDCANCEL));
    ReadAndCloseMessageBox(box, &seen);
  });
  ShowAboutBox(1, 0);
  driver.Join();
  ASSERT_TRUE(driver.Seen());
  EXPECT_EQ(seen.caption, "About - Skyplate");
  EXPECT_EQ(seen.text, AboutBoxText(1, 0));
  EXPECT_FALSE(has_icon);
  EXPECT_FALSE(has_cancel);
}

class HelpPage : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "skyplate help test\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    DeleteFileA((folder_ + "Skyplate.html").c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  std::string folder_;
};

TEST_F(HelpPage, OpensThePageBesideTheProgramWithoutWaiting) {
  FILE* page = std::fopen((folder_ + "Skyplate.html").c_str(), "w");
  ASSERT_NE(page, nullptr);
  std::fputs("<html><body>help</body></html>", page);
  std::fclose(page);

  const DWORD start = GetTickCount();
  const INT_PTR result = OpenHelpPage(folder_);
  EXPECT_LT(GetTickCount() - start, 5000u);
  // A test prefix may have no viewer for .html; then the shell says so
  // rather than failing to find the page.
  EXPECT_TRUE(result > 32 || result == SE_ERR_NOASSOC) << result;
}

TEST_F(HelpPage, MissingPageIsReportedOnlyToTheCaller) {
  EXPECT_EQ(OpenHelpPage(folder_), SE_ERR_FNF);
}

}  // namespace
}  // namespace skyplate
