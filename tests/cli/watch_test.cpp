// skyplate-cli.exe --watch as Windows runs it: ReadDirectoryChangesW sees a
// save in place, a save by renaming over the old file and a burst of saves,
// each rebuilt into the picture a fresh build makes; Ctrl-C ends it with
// nothing left behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "tests/started_program_win32.h"
#include "tools/track_generator.h"

namespace skyplate {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kInterruptedExit = 0xC000013A;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// True once `done` holds, tried every 20 ms for up to `ms` milliseconds.
bool WaitFor(const std::function<bool()>& done, int ms = 20000) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (done()) return true;
    Sleep(20);
  }
  return done();
}

class WatchedCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OwnConsole());
    folder_ =
        fs::temp_directory_path() / ("skyplate_watch_" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder_);
    std::string error;
    ASSERT_TRUE(tools::WriteTrack(folder_.string(), tools::TrackRecipe{}, &error)) << error;
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    log_ = CreateFileA((folder_ / "watch.log").string().c_str(), GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherited,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(log_, INVALID_HANDLE_VALUE);
    watcher_ = std::make_unique<StartedProgram>("skyplate-cli.exe",
                                                " --watch \"" + Track().string() + "\"", 0, log_);
    ASSERT_TRUE(watcher_->started());
    ASSERT_TRUE(WaitFor([&] { return Builds() >= 1; })) << Log();
  }

  void TearDown() override {
    watcher_.reset();
    if (log_ != INVALID_HANDLE_VALUE) CloseHandle(log_);
    fs::remove_all(folder_);
  }

  fs::path Track() const { return folder_ / "Hill.track"; }
  fs::path Tile(const char* name) const { return folder_ / "tiles" / name; }
  fs::path Picture() const { return folder_ / "Hill_mask_Topdown.bmp"; }
  std::string Log() const { return ReadAll(folder_ / "watch.log"); }

  // The rebuild lines so far: "12:03:04 ...\Hill_mask_Topdown.bmp 85 ms".
  int Builds() const {
    std::istringstream lines(Log());
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
      if (line.find("_Topdown.bmp ") != std::string::npos &&
          line.find(" ms") != std::string::npos) {
        ++count;
      }
    }
    return count;
  }

  std::string FreshBuild() const {
    const fs::path fresh = folder_ / "fresh.bmp";
    StartedProgram build("skyplate-cli.exe",
                         " -q -o \"" + fresh.string() + "\" \"" + Track().string() + "\"");
    EXPECT_EQ(build.ExitCode(), 0u);
    return ReadAll(fresh);
  }

  // Once writes have settled, the picture is the one a fresh build makes.
  void ExpectPictureOfFreshBuild() {
    const std::string fresh = FreshBuild();
    ASSERT_FALSE(fresh.empty());
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Picture()) == fresh; })) << Log();
  }

  // As an editor saves. A rebuild reading the file at that moment holds it
  // open, which Windows lets no rename replace: editors try again.
  void SaveByRenaming(const fs::path& tile, const std::string& bytes) {
    const fs::path temporary = tile.string() + ".new";
    WriteAll(temporary, bytes);
    EXPECT_TRUE(WaitFor(
        [&] {
          return MoveFileExA(temporary.string().c_str(), tile.string().c_str(),
                             MOVEFILE_REPLACE_EXISTING) != FALSE;
        },
        2000));
  }

  fs::path folder_;
  HANDLE log_ = INVALID_HANDLE_VALUE;
  std::unique_ptr<StartedProgram> watcher_;
};

TEST_F(WatchedCli, SaveInPlaceRebuilds) {
  WriteAll(Tile("sand.bmp"), ReadAll(Tile("rock.bmp")));
  EXPECT_TRUE(WaitFor([&] { return Builds() >= 2; })) << Log();
  ExpectPictureOfFreshBuild();
}

TEST_F(WatchedCli, SaveByRenamingOverRebuilds) {
  SaveByRenaming(Tile("water.bmp"), ReadAll(Tile("grass.bmp")));
  EXPECT_TRUE(WaitFor([&] { return Builds() >= 2; })) << Log();
  ExpectPictureOfFreshBuild();
}

TEST_F(WatchedCli, BurstOfSavesGivesFewRebuilds) {
  const std::string rock = ReadAll(Tile("rock.bmp"));
  const std::string sand = ReadAll(Tile("sand.bmp"));
  for (int i = 0; i < 20; ++i) {
    if (i % 2 == 0) {
      WriteAll(Tile("grass.bmp"), rock);
    } else {
      SaveByRenaming(Tile("grass.bmp"), sand);
    }
    Sleep(50);
  }
  ExpectPictureOfFreshBuild();
  Sleep(600);
  EXPECT_GE(Builds(), 2) << Log();
  EXPECT_LE(Builds(), 1 + 4) << Log();
}

TEST_F(WatchedCli, CtrlCEndsItWithNothingLeft) {
  SetConsoleCtrlHandler(IgnoreCtrlC, TRUE);
  ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
  EXPECT_EQ(watcher_->ExitCode(), kInterruptedExit);
  SetConsoleCtrlHandler(IgnoreCtrlC, FALSE);
  for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
}

}  // namespace
}  // namespace skyplate
