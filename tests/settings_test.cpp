#include "settings/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "settings/track_folder.h"

namespace skyplate {
namespace {

// Keeps values in memory exactly as a registry would hand them back.
class MemoryStore : public SettingStore {
 public:
  using Address = std::tuple<SettingRoot, std::string, std::string>;

  bool ReadValue(SettingRoot root, const std::string& key_path, const std::string& value_name,
                 std::string* bytes) override {
    auto it = values.find({root, key_path, value_name});
    if (it == values.end()) return false;
    *bytes = it->second;
    return true;
  }
  bool WriteString(SettingRoot root, const std::string& key_path, const std::string& value_name,
                   const std::string& text) override {
    values[{root, key_path, value_name}] = text + '\0';
    return true;
  }

  std::map<Address, std::string> values;
};

const MemoryStore::Address kTrackFolder{kCurrentUserRoot, kTrackFolderKeyPath,
                                        kTrackFolderValueName};

TEST(Settings, KeyPathLosesEveryLeadingAndTrailingBackslash) {
  EXPECT_EQ(StripKeyPathBackslashes("\\\\Software\\Brackenfold\\\\\\"), "Software\\Brackenfold");
  EXPECT_EQ(StripKeyPathBackslashes("Software\\Brackenfold"), "Software\\Brackenfold");
  EXPECT_EQ(StripKeyPathBackslashes("\\\\\\"), "");
  EXPECT_EQ(StripKeyPathBackslashes(""), "");
}

TEST(Settings, RootZeroAndExtraBackslashesAddressTheSameValue) {
  MemoryStore store;
  ASSERT_TRUE(WriteSettingString(store, 0, "\\Software\\Brackenfold\\Dunerally\\\\", "TrackFolder",
                                 "D:\\Tracks\\"));
  EXPECT_EQ(store.values.count(kTrackFolder), 1u);
  EXPECT_EQ(ReadSettingString(store, kCurrentUserRoot, "Software\\Brackenfold\\Dunerally",
                              "TrackFolder", "Not Found"),
            "D:\\Tracks\\");
}

TEST(Settings, MissingValueReadsAsTheDefaultCutToTheBuffer) {
  MemoryStore store;
  EXPECT_EQ(ReadSettingString(store, 0, "Software\\X", "Y", "fallback"), "fallback");
  const std::string long_default(1500, 'd');
  EXPECT_EQ(ReadSettingString(store, 0, "Software\\X", "Y", long_default),
            long_default.substr(0, 1023));
}

TEST(Settings, LongTextIsStoredAsItsFirst1023Bytes) {
  MemoryStore store;
  std::string text(2000, 'a');
  text[1022] = 'z';
  ASSERT_TRUE(WriteSettingString(store, 0, "Software\\X", "Y", text));
  EXPECT_EQ(ReadSettingString(store, 0, "Software\\X", "Y", "none"), text.substr(0, 1023));

  const std::string long_name(1100, 'n');
  ASSERT_TRUE(WriteSettingString(store, 0, "Software\\X", long_name, "v"));
  EXPECT_EQ(ReadSettingString(store, 0, "Software\\X", long_name.substr(0, 1023), "none"), "v");
}

TEST(Settings, ValueTooLongForTheBufferReadsAsTheDefault) {
  MemoryStore store;
  store.values[{kCurrentUserRoot, "K", "fits"}] = std::string(1023, 'f') + '\0';
  store.values[{kCurrentUserRoot, "K", "one over"}] = std::string(1024, 'o') + '\0';
  store.values[{kCurrentUserRoot, "K", "unterminated"}] = std::string(1024, 'u');
  EXPECT_EQ(ReadSettingString(store, 0, "K", "fits", "default"), std::string(1023, 'f'));
  EXPECT_EQ(ReadSettingString(store, 0, "K", "one over", "default"), "default");
  EXPECT_EQ(ReadSettingString(store, 0, "K", "unterminated", "default"), "default");
}

TEST(Settings, ValueOfAnotherTypeReadsUpToItsFirstZeroByte) {
  MemoryStore store;
  store.values[{kCurrentUserRoot, "K", "dword"}] = std::string("\x41\x42\0\0", 4);
  store.values[{kCurrentUserRoot, "K", "binary"}] = "ABC";
  EXPECT_EQ(ReadSettingString(store, 0, "K", "dword", "Not Found"), "AB");
  EXPECT_EQ(ReadSettingString(store, 0, "K", "binary", "Not Found"), "ABC");
}

TEST(TrackFolder, NothingStoredGivesTheFallbacksOfEachReader) {
  MemoryStore store;
  EXPECT_EQ(TrackFolderForChooser(store), "c:\\");
  EXPECT_EQ(TrackFolderForOptions(store), "");
  // "Not Found" is the readers' default, so storing it is storing nothing.
  ASSERT_TRUE(SaveTrackFolder(store, "Not Found"));
  EXPECT_EQ(TrackFolderForChooser(store), "c:\\");
  EXPECT_EQ(TrackFolderForOptions(store), "");
}

TEST(TrackFolder, StoredTextIsReadBackExactlyEvenWhenEmpty) {
  MemoryStore store;
  ASSERT_TRUE(SaveTrackFolder(store, ""));
  EXPECT_EQ(TrackFolderForChooser(store), "");
  EXPECT_EQ(TrackFolderForOptions(store), "");
  ASSERT_TRUE(SaveTrackFolder(store, "D:\\Dunerally\\Tracks\\"));
  ASSERT_TRUE(SaveTrackFolder(store, "E:\\tracks"));
  EXPECT_EQ(TrackFolderForChooser(store), "E:\\tracks");
  EXPECT_EQ(store.values.size(), 1u);
}

}  // namespace
}  // namespace skyplate
