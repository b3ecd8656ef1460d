// skyplate-cli.exe ended during a build, as Windows ends it: Ctrl-C and
// Ctrl-Break from its console, or killed outright. Its temporary file goes,
// and an older picture stays as it was.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/started_program_win32.h"
#include "tools/track_generator.h"

namespace skyplate {
namespace {

namespace fs = std::filesystem;

constexpr char kOlderPicture[] = "the older picture";
constexpr DWORD kInterruptedExit = 0xC000013A;

// A track whose mask is SIZE x SIZE pixels of zeros, sparse on disk: the
// build runs long without a large file to make.
fs::path WriteLongTrack(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / ("skyplate_interrupt_" + name + "_" +
                                                       std::to_string(GetCurrentProcessId()));
  fs::remove_all(folder);
  std::string error;
  EXPECT_TRUE(tools::WriteTrack(folder.string(), tools::TrackRecipe{}, &error)) << error;
  constexpr std::uint32_t kSize = 16384;
  constexpr std::uint32_t kPixelBytes = kSize * kSize * 3;
  unsigned char header[54] = {'B', 'M'};
  auto put32 = [&](int at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) header[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  put32(2, 54 + kPixelBytes);
  put32(10, 54);
  put32(14, 40);
  put32(18, kSize);
  put32(22, kSize);
  header[26] = 1;
  header[28] = 24;
  {
    std::ofstream mask(folder / "Hill_mask.bmp", std::ios::binary | std::ios::trunc);
    mask.write(reinterpret_cast<const char*>(header), sizeof header);
  }
  fs::resize_file(folder / "Hill_mask.bmp", 54 + std::uintmax_t{kPixelBytes});
  std::ofstream(folder / "Hill_mask_Topdown.bmp", std::ios::binary) << kOlderPicture;
  return folder;
}

bool HasTemporaryFile(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".tmp") return true;
  }
  return false;
}

std::string OutputBytes(const fs::path& folder) {
  std::ifstream file(folder / "Hill_mask_Topdown.bmp", std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// skyplate-cli.exe building the track in `folder`.
class Build : public StartedProgram {
 public:
  Build(const fs::path& folder, DWORD creation_flags)
      : StartedProgram("skyplate-cli.exe",
                       " --quiet --jobs 1 \"" + (folder / "Hill.track").string() + "\"",
                       creation_flags) {}
};

// Suspends or resumes every thread of the build.
void SetSuspended(const Build& build, bool suspended) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 thread{};
  thread.dwSize = sizeof thread;
  for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread)) {
    if (thread.th32OwnerProcessID != build.id()) continue;
    HANDLE handle = OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread.th32ThreadID);
    if (suspended) {
      SuspendThread(handle);
    } else {
      ResumeThread(handle);
    }
    CloseHandle(handle);
  }
  CloseHandle(snapshot);
}

// Ends the build by `end` while it is writing its picture, suspended in the
// meantime so that it cannot finish first; false when it never started
// writing within 20 s or `end` failed.
template <typename End>
bool EndWhileWriting(const Build& build, const fs::path& folder, const End& end) {
  for (int tries = 0; tries < 4000 && !HasTemporaryFile(folder); ++tries) Sleep(5);
  SetSuspended(build, true);
  const bool ended = HasTemporaryFile(folder) && end();
  SetSuspended(build, false);
  return ended;
}

void ExpectNothingLeft(const fs::path& folder) {
  EXPECT_FALSE(HasTemporaryFile(folder));
  EXPECT_EQ(OutputBytes(folder), kOlderPicture);
  fs::remove_all(folder);
}

TEST(InterruptedCli, CtrlBreakEndsTheBuildWithNothingLeft) {
  ASSERT_TRUE(OwnConsole());
  const fs::path folder = WriteLongTrack("break");
  Build build(folder, CREATE_NEW_PROCESS_GROUP);
  ASSERT_TRUE(build.started());
  bool refused = false;
  ASSERT_TRUE(EndWhileWriting(build, folder, [&] {
    refused = !GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, build.id());
    return true;
  }));
  if (refused) {
    // Wine 8 sends Ctrl-C alone.
    TerminateProcess(build.process(), 1);
    build.ExitCode();
    fs::remove_all(folder);
    GTEST_SKIP() << "this system does not send Ctrl-Break";
  }
  EXPECT_EQ(build.ExitCode(), kInterruptedExit);
  ExpectNothingLeft(folder);
}

TEST(InterruptedCli, CtrlCEndsTheBuildWithNothingLeft) {
  const fs::path folder = WriteLongTrack("ctrl_c");
  ASSERT_TRUE(OwnConsole());
  // Ctrl-C goes to every process of the console, this test included.
  SetConsoleCtrlHandler(IgnoreCtrlC, TRUE);
  Build build(folder, 0);
  ASSERT_TRUE(build.started());
  ASSERT_TRUE(EndWhileWriting(build, folder,
                              [] { return GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) != FALSE; }));
  EXPECT_EQ(build.ExitCode(), kInterruptedExit);
  SetConsoleCtrlHandler(IgnoreCtrlC, FALSE);
  ExpectNothingLeft(folder);
}

TEST(InterruptedCli, KilledOutrightLeavesNothing) {
  const fs::path folder = WriteLongTrack("killed");
  Build build(folder, 0);
  ASSERT_TRUE(build.started());
  ASSERT_TRUE(EndWhileWriting(build, folder,
                              [&] { return TerminateProcess(build.process(), 1) != FALSE; }));
  EXPECT_EQ(build.ExitCode(), 1u);
  ExpectNothingLeft(folder);
}

}  // namespace
}  // namespace skyplate
