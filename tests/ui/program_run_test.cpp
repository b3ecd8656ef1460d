// Skyplate.exe started as the user starts it, with and without a track path.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/started_program_win32.h"
#include "ui_test_support.h"

namespace skyplate {
namespace {

constexpr char kMainClass[] = "FORM_SKYPLATE_FORM1_CLASS";

class RunningProgram : public StartedProgram {
 public:
  explicit RunningProgram(const std::string& arguments)
      : StartedProgram("Skyplate.exe", arguments) {}
  HWND MainWindow() const { return FindTopLevelWindow(id(), kMainClass); }
};

TEST(Program, StartedWithoutArgumentsShowsTheMainWindowAndEndsWithZero) {
  RunningProgram program("");
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitUntil([&] { return program.MainWindow() != nullptr; }));
  HWND window = program.MainWindow();
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
  EXPECT_EQ(WindowText(GetDlgItem(window, 1000)), "");
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(Program, TrackOnTheCommandLineIsBuiltAtOnce) {
  const tools::TrackRecipe recipe;
  const std::string folder = WriteTrackFolder(recipe);
  RunningProgram program(" \"" + folder + "Hill.track\"");
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitUntil([&] {
    return program.MainWindow() && WindowText(GetDlgItem(program.MainWindow(), 1003)) == "All Done";
  }));
  HWND window = program.MainWindow();
  EXPECT_EQ(WindowText(GetDlgItem(window, 1000)), "");  // the argument is not put in the edit box
  EXPECT_NE(FindTopLevelWindow(program.id(), nullptr, "Topdown"), nullptr);
  EXPECT_EQ(FileBytes(folder + "Hill_mask_Topdown.bmp"), ExpectedTopdownBytes(recipe));
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(6003, 0), 0);  // File, Exit
  EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(Program, NotATrackArgumentClosesTheWindowButStillBuildsAndEndsWithZero) {
  const tools::TrackRecipe recipe;
  const std::string folder = WriteTrackFolder(recipe);
  std::filesystem::rename(folder + "Hill.track", folder + "Hill.tracks");
  RunningProgram program(" " + folder + "Hill.tracks");
  ASSERT_TRUE(program.started());
  MessageBoxAnswerer answerer(program.id());
  ASSERT_TRUE(answerer.Answered());
  EXPECT_EQ(answerer.caption(), "Not a track file");
  EXPECT_EQ(answerer.text(), "File is not a .track file.");
  EXPECT_EQ(program.ExitCode(), 0u);
  EXPECT_EQ(FileBytes(folder + "Hill_mask_Topdown.bmp"), ExpectedTopdownBytes(recipe));
}

}  // namespace
}  // namespace skyplate
