#include <gtest/gtest.h>

#include <string>

#include "settings/registry_store_win32.h"
#include "settings/settings.h"
#include "settings/track_folder.h"
#include "tests/ui_dialogs/registry_helpers.h"

namespace skyplate {
namespace {

using testing::DeleteKeyTree;
using testing::StoredBytes;
using testing::StoreRawValue;

const std::string kKey = "Software\\Brackenfold\\SkyplateSettingsTest";

class RegistrySettings : public ::testing::Test {
 protected:
  void SetUp() override { DeleteKeyTree(kKey); }
  void TearDown() override { DeleteKeyTree(kKey); }

  std::string Read(const std::string& value_name) {
    return ReadSettingString(store_, kCurrentUserRoot, kKey, value_name, "Not Found");
  }

  RegistrySettingStore store_;
};

TEST_F(RegistrySettings, WritesAStringValueWithItsZeroByteUnderTheStrippedPath) {
  ASSERT_TRUE(WriteSettingString(store_, 0, "\\\\" + kKey + "\\\\", "Folder", "C:\\Tracks\\"));
  EXPECT_EQ(StoredBytes(kKey, "Folder"), std::string("C:\\Tracks\\\0", 11));
  EXPECT_EQ(ReadSettingString(store_, 0, "\\" + kKey + "\\", "Folder", "Not Found"),
            "C:\\Tracks\\");
}

TEST_F(RegistrySettings, MissingKeyOrValueReadsAsTheDefault) {
  EXPECT_EQ(Read("Folder"), "Not Found");
  StoreRawValue(kKey, "Other", REG_SZ, std::string("x\0", 2));
  EXPECT_EQ(Read("Folder"), "Not Found");
}

TEST_F(RegistrySettings, LongTextsAreCutOnWritingAndOverlongValuesIgnoredOnReading) {
  ASSERT_TRUE(WriteSettingString(store_, 0, kKey, "Long", std::string(2000, 'a')));
  EXPECT_EQ(StoredBytes(kKey, "Long"), std::string(1023, 'a') + '\0');
  EXPECT_EQ(Read("Long"), std::string(1023, 'a'));

  StoreRawValue(kKey, "Overlong", REG_SZ, std::string(1024, 'b') + '\0');
  EXPECT_EQ(Read("Overlong"), "Not Found");
}

TEST_F(RegistrySettings, ValueOfAnotherTypeReadsUpToItsFirstZeroByte) {
  StoreRawValue(kKey, "Number", REG_DWORD, std::string("\x41\x42\0\0", 4));
  EXPECT_EQ(Read("Number"), "AB");
}

TEST_F(RegistrySettings, WriteToAKeyThatCannotBeOpenedFailsAndKeepsTheOldValue) {
  ASSERT_TRUE(WriteSettingString(store_, 0, kKey, "Folder", "C:\\Old"));
  testing::DenyWritingToKey(kKey);
  EXPECT_FALSE(WriteSettingString(store_, 0, kKey, "Folder", "C:\\New"));
  EXPECT_EQ(Read("Folder"), "C:\\Old");
}

TEST(RegistryTrackFolder, SecondSaveReplacesTheFirst) {
  const std::string key = kTrackFolderKeyPath;
  DeleteKeyTree(key);
  RegistrySettingStore store;
  ASSERT_TRUE(SaveTrackFolder(store, "C:\\First\\"));
  ASSERT_TRUE(SaveTrackFolder(store, "D:\\Second"));
  EXPECT_EQ(TrackFolderForOptions(store), "D:\\Second");
  EXPECT_EQ(StoredBytes(key, kTrackFolderValueName), std::string("D:\\Second\0", 10));
  DeleteKeyTree(key);
}

}  // namespace
}  // namespace skyplate
