#include <cstdint>
#include <vector>

#include "main_window_fixture.h"
#include "ui_test_support.h"

namespace skyplate {
namespace {

SIZE ClientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

std::uint64_t FreeAddressSpace() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  GlobalMemoryStatusEx(&status);
  return status.ullAvailVirtual;
}

// Reserves address space until at most `left` bytes of it are free, or no
// block of 64 MiB is; the blocks, to be released.
std::vector<void*> TakeAddressSpaceDownTo(std::uint64_t left) {
  std::vector<void*> taken;
  while (FreeAddressSpace() > left) {
    void* block = VirtualAlloc(nullptr, 64u << 20, MEM_RESERVE, PAGE_NOACCESS);
    if (block == nullptr) break;
    taken.push_back(block);
  }
  return taken;
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

// The largest mask the limits accept needs a mask and a picture of 1 GiB
// each, more than a 32-bit process finds room for even with 4 GiB of address
// space (about 16040 x 16040 is the most there): the build must end with a
// message, not a crash, keep the picture an earlier build wrote, and give the
// memory back for the next build.
TEST_F(MainWindowTest, PictureTooLargeForTheAddressSpaceEndsWithAMessageAndKeepsTheOlderOne) {
  if (sizeof(void*) != 4) GTEST_SKIP() << "a 64-bit process has room for it";
  tools::TrackRecipe recipe;
  recipe.width = 3;
  recipe.height = 2;
  const std::string folder = WriteTrackFolder(recipe);
  const std::string output = folder + "Hill_mask_Topdown.bmp";
  SetWindowTextA(GetDlgItem(window_, 1000), (folder + "Hill.track").c_str());
  Click(1002);
  const std::string older = FileBytes(output);
  ASSERT_EQ(older, ExpectedTopdownBytes(recipe));

  WriteLongRunMask(folder + "Hill_mask.bmp", 16384, 16384);
  SetWindowTextA(GetDlgItem(window_, 1003), "");
  // The picture is composited over its mask, so a 32-bit process has room
  // for the largest picture the limits allow; one short of address space
  // has not, with less free than the mask's gigabyte.
  const std::vector<void*> taken = TakeAddressSpaceDownTo(768u << 20);
  const std::uint64_t free_before = FreeAddressSpace();
  {
    MessageBoxAnswerer answerer(GetCurrentProcessId(), 45000);
    Click(1002);
    ASSERT_TRUE(answerer.Answered());
    EXPECT_EQ(answerer.text(), "The topdown picture was not written:\n" + output +
                                   "\nnot enough memory for a picture of 16384 x 16384 pixels");
    EXPECT_EQ(answerer.caption(), "Skyplate");
  }
  EXPECT_EQ(WindowText(GetDlgItem(window_, 1003)), "All Done");
  EXPECT_EQ(FileBytes(output), older);
  // The mask that did fit must be given back, or the next build starts short.
  EXPECT_GT(FreeAddressSpace() + (64u << 20), free_before);
  for (void* block : taken) VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace
}  // namespace skyplate
