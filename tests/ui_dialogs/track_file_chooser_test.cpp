#include "ui/track_file_chooser.h"

#include <gtest/gtest.h>
// <windows.h> came with the header above; the dialog's control ids need it.
#include <commdlg.h>
#include <dlgs.h>

#include <cstdio>
#include <string>

#include "settings/track_folder.h"
#include "tests/ui_dialogs/dialog_driver.h"
#include "tests/ui_dialogs/registry_helpers.h"

namespace skyplate {
namespace {

using testing::DialogDriver;
using testing::StoreRawValue;

// What the open dialog showed when the test looked at it.
struct ChooserSeen {
  std::string folder;
  std::string file_name;
  std::string selected_filter;
  int filter_count = 0;
  bool read_only_box_shown = false;
  bool topmost = false;
  RECT frame{};
};

ChooserSeen LookAt(HWND dialog) {
  ChooserSeen seen;
  char text[MAX_PATH] = "";
  SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof text, reinterpret_cast<LPARAM>(text));
  seen.folder = text;
  GetDlgItemTextA(dialog, cmb13, text, sizeof text);
  seen.file_name = text;
  HWND filters = GetDlgItem(dialog, cmb1);
  seen.filter_count = static_cast<int>(SendMessageA(filters, CB_GETCOUNT, 0, 0));
  const LRESULT selected = SendMessageA(filters, CB_GETCURSEL, 0, 0);
  if (selected >= 0) {
    SendMessageA(filters, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
    seen.selected_filter = text;
  }
  seen.read_only_box_shown = IsWindowVisible(GetDlgItem(dialog, chx1));
  seen.topmost = (GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  GetWindowRect(dialog, &seen.frame);
  return seen;
}

void Cancel(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

void Choose(HWND dialog, const std::string& path) {
  SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

// Selects the filter at `index` as a user's pick in the list does.
void SelectFilter(HWND dialog, int index) {
  HWND filters = GetDlgItem(dialog, cmb1);
  SendMessageA(filters, CB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(filters));
}

class TrackFileChooser : public ::testing::Test {
 protected:
  void SetUp() override { testing::DeleteKeyTree(kTrackFolderKeyPath); }
  void TearDown() override { testing::DeleteKeyTree(kTrackFolderKeyPath); }

  // Opens the chooser, looks at it and cancels it; returns what it showed.
  ChooserSeen OpenAndCancel() {
    ChooserSeen seen;
    std::string chosen = "<not returned>";
    {
      DialogDriver driver(testing::DialogCaptioned("Select Track File"), [&](HWND dialog) {
        seen = LookAt(dialog);
        Cancel(dialog);
      });
      chosen = ChooseTrackFile(nullptr);
      driver.Join();
      EXPECT_TRUE(driver.Seen());
    }
    EXPECT_EQ(chosen, "");
    return seen;
  }

  static void StoreTrackFolder(const std::string& text) {
    StoreRawValue(kTrackFolderKeyPath, kTrackFolderValueName, REG_SZ, text + '\0');
  }
};

TEST_F(TrackFileChooser, StartsInDriveCWhenNoFolderIsStored) {
  EXPECT_EQ(lstrcmpiA(OpenAndCancel().folder.c_str(), "C:\\"), 0);
  StoreTrackFolder("Not Found");
  EXPECT_EQ(lstrcmpiA(OpenAndCancel().folder.c_str(), "C:\\"), 0);
}

TEST_F(TrackFileChooser, StartsInTheCurrentDirectoryWhenTheStoredFolderIsEmpty) {
  char windows[MAX_PATH] = "";
  GetWindowsDirectoryA(windows, sizeof windows);
  char previous[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof previous, previous);
  SetCurrentDirectoryA(windows);
  StoreTrackFolder("");
  const std::string folder = OpenAndCancel().folder;
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(lstrcmpiA(folder.c_str(), windows), 0) << folder;
}

TEST_F(TrackFileChooser, StartsInTheStoredFolder) {
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, sizeof system);
  StoreTrackFolder(system + std::string("\\"));
  const std::string folder = OpenAndCancel().folder;
  EXPECT_EQ(lstrcmpiA(folder.c_str(), system), 0) << folder;
}

TEST_F(TrackFileChooser, OpensCentredOnTopWithTheTrackFilterSelected) {
  const ChooserSeen seen = OpenAndCancel();
  EXPECT_EQ(seen.selected_filter, "Track Files (*.track)");
  EXPECT_EQ(seen.filter_count, 2);
  EXPECT_EQ(seen.file_name, "");
  EXPECT_TRUE(seen.read_only_box_shown);
  EXPECT_TRUE(seen.topmost);

  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  // Twice the left margin is the free width; an odd free width has two
  // nearest positions, of which the even one is taken.
  const LONG free_width = desktop.right - desktop.left - (seen.frame.right - seen.frame.left);
  const LONG free_height = desktop.bottom - desktop.top - (seen.frame.bottom - seen.frame.top);
  EXPECT_LE(std::abs(2 * seen.frame.left - free_width), 1) << seen.frame.left;
  EXPECT_LE(std::abs(2 * seen.frame.top - free_height), 1) << seen.frame.top;
  EXPECT_EQ(seen.frame.left % 2 == 0 || free_width % 2 == 0, true) << seen.frame.left;
  EXPECT_EQ(seen.frame.top % 2 == 0 || free_height % 2 == 0, true) << seen.frame.top;
}

class ChosenFile : public TrackFileChooser {
 protected:
  void SetUp() override {
    TrackFileChooser::SetUp();
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    folder_ = temp;
    existing_ = folder_ + "chooser test.track";
    FILE* file = std::fopen(existing_.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    StoreTrackFolder(folder_);
  }
  void TearDown() override {
    DeleteFileA(existing_.c_str());
    TrackFileChooser::TearDown();
  }

  std::string ChooseTyping(const std::string& typed) {
    DialogDriver driver(testing::DialogCaptioned("Select Track File"),
                        [&](HWND dialog) { Choose(dialog, typed); });
    return ChooseTrackFile(nullptr);
  }

  std::string folder_;
  std::string existing_;
};

TEST_F(ChosenFile, ReturnsTheFullPathOfTheChosenFile) {
  EXPECT_EQ(lstrcmpiA(ChooseTyping("chooser test.track").c_str(), existing_.c_str()), 0);
}

TEST_F(ChosenFile, ReturnsANameThatDoesNotExistWithoutComplaint) {
  const std::string chosen = ChooseTyping("not there.track");
  EXPECT_EQ(lstrcmpiA(chosen.c_str(), (folder_ + "not there.track").c_str()), 0) << chosen;
  const std::string bare = ChooseTyping("bare");
  EXPECT_EQ(_strnicmp(bare.c_str(), (folder_ + "bare").c_str(), folder_.size() + 4), 0) << bare;
}

// With the track filter the dialog takes the extension from the filter's
// pattern; with "All Files" only the default extension can complete a name.
TEST_F(ChosenFile, ANameTypedWithoutExtensionUnderAllFilesFindsTheTrackFile) {
  DialogDriver driver(testing::DialogCaptioned("Select Track File"), [&](HWND dialog) {
    SelectFilter(dialog, 1);
    Choose(dialog, "chooser test");
  });
  const std::string chosen = ChooseTrackFile(nullptr);
  EXPECT_EQ(lstrcmpiA(chosen.c_str(), existing_.c_str()), 0) << chosen;
}

}  // namespace
}  // namespace skyplate
