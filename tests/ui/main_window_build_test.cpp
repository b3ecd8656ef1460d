#include "main_window_fixture.h"
#include "ui_test_support.h"

namespace skyplate {
namespace {

SIZE ClientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

TEST_F(MainWindowTest, BuildFromTheEditBoxWritesThePictureAndShowsItAtAThird) {
  tools::TrackRecipe recipe;
  recipe.width = 1000;
  recipe.height = 1001;
  const std::string folder = WriteTrackFolder(recipe);
  SetWindowTextA(GetDlgItem(window_, 1000), (folder + "Hill.track").c_str());
  Click(1002);

  EXPECT_EQ(WindowText(GetDlgItem(window_, 1003)), "All Done");
  EXPECT_EQ(FileBytes(folder + "Hill_mask_Topdown.bmp"), ExpectedTopdownBytes(recipe));
  HWND display = FindTopLevelWindow(GetCurrentProcessId(), nullptr, "Topdown");
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(ClientSize(display).cx, 333);
  EXPECT_EQ(ClientSize(display).cy, 334);
  RECT outer;
  GetWindowRect(display, &outer);
  EXPECT_EQ(outer.left, 256);
  EXPECT_EQ(outer.top, 100);
}

TEST_F(MainWindowTest, TwoBuildsLeaveTwoDisplayWindows) {
  tools::TrackRecipe recipe;
  recipe.width = 2;
  recipe.height = 1;
  const std::string folder = WriteTrackFolder(recipe);
  SetWindowTextA(GetDlgItem(window_, 1000), ("\"" + folder + "Hill.track\"").c_str());
  Click(1002);
  Click(1002);
  EXPECT_EQ(WindowText(GetDlgItem(window_, 1003)), "All Done");
  EXPECT_EQ(CountTopLevelWindows(GetCurrentProcessId(), "Topdown"), 2);
  HWND display = FindTopLevelWindow(GetCurrentProcessId(), nullptr, "Topdown");
  EXPECT_EQ(ClientSize(display).cx, 1);
  EXPECT_EQ(ClientSize(display).cy, 0);
}

TEST_F(MainWindowTest, MissingEntryKeepsTheStatusLineAndUsesTheDefaultCaption) {
  const std::string folder = WriteTrackFolder(tools::TrackRecipe{});
  SetWindowTextA(GetDlgItem(window_, 1003), "All Done");
  SetWindowTextA(GetDlgItem(window_, 1000), (folder + "Nowhere.track").c_str());
  MessageBoxAnswerer answerer(GetCurrentProcessId());
  Click(1002);
  ASSERT_TRUE(answerer.Answered());
  EXPECT_EQ(answerer.text(), "Error getting MaskMap filename");
  EXPECT_EQ(answerer.caption(), "Skyplate");
  EXPECT_EQ(WindowText(GetDlgItem(window_, 1003)), "All Done");
}

}  // namespace
}  // namespace skyplate
