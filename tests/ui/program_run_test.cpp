// Skyplate.exe started as the user starts it, with and without a track path.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "ui_test_support.h"

namespace skyplate {
namespace {

constexpr char kMainClass[] = "FORM_SKYPLATE_FORM1_CLASS";

class RunningProgram {
 public:
  explicit RunningProgram(const std::string& arguments) {
    char test_path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, test_path, sizeof(test_path));
    const std::string program =
        std::filesystem::path(test_path).replace_filename("Skyplate.exe").string();
    std::string command_line = "\"" + program + "\"" + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    started_ = CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &process_);
  }
  ~RunningProgram() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  bool started() const { return started_; }
  DWORD id() const { return process_.dwProcessId; }
  HWND MainWindow() const { return FindTopLevelWindow(id(), kMainClass); }
  // The exit code, or STILL_ACTIVE when the program did not end in time.
  DWORD ExitCode(DWORD milliseconds = 20000) const {
    WaitForSingleObject(process_.hProcess, milliseconds);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_{};
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
