#include "topdown/live_temporary_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

namespace skyplate {
namespace {

namespace fs = std::filesystem;

fs::path NewFile(const fs::path& folder, const std::string& name) {
  std::ofstream(folder / name) << "x";
  return folder / name;
}

// Removing ends the process in real use, so it runs in a child process here.
TEST(LiveTemporaryFiles, RemovesWhatIsEnteredAndNothingThatWasLeft) {
  const fs::path folder = fs::temp_directory_path() / ("live_tmp_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string live = NewFile(folder, "live.tmp").string();
  const std::string left = NewFile(folder, "left.tmp").string();
  const std::string never = NewFile(folder, "never.tmp").string();
  EXPECT_EXIT(
      {
        EnterTemporaryFile(live.c_str());
        LeaveTemporaryFile(EnterTemporaryFile(left.c_str()));
        RemoveLiveTemporaryFiles();
        _exit(0);
      },
      testing::ExitedWithCode(0), "");
  EXPECT_FALSE(fs::exists(live));
  EXPECT_TRUE(fs::exists(left));
  EXPECT_TRUE(fs::exists(never));
  fs::remove_all(folder);
}

TEST(LiveTemporaryFiles, SlotsRunOutAndAreTakenAgainOnceLeft) {
  std::array<int, kLiveTemporarySlots> slots{};
  for (int& slot : slots) {
    slot = EnterTemporaryFile("a.tmp");
    ASSERT_GE(slot, 0);
  }
  EXPECT_EQ(EnterTemporaryFile("one too many.tmp"), -1);
  LeaveTemporaryFile(slots[5]);
  EXPECT_EQ(EnterTemporaryFile("b.tmp"), slots[5]);
  for (int slot : slots) LeaveTemporaryFile(slot);
  LeaveTemporaryFile(-1);
  EXPECT_GE(EnterTemporaryFile("c.tmp"), 0);
}

}  // namespace
}  // namespace skyplate
