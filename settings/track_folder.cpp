#include "settings/track_folder.h"

#include "settings/settings.h"

namespace skyplate {
namespace {

std::string StoredOr(SettingStore& store, std::string_view fallback) {
  std::string folder = ReadSettingString(store, kCurrentUserRoot, kTrackFolderKeyPath,
                                         kTrackFolderValueName, kSettingNotFound);
  if (folder == kSettingNotFound) folder = fallback;
  return folder;
}

}  // namespace

std::string TrackFolderForChooser(SettingStore& store) {
  return StoredOr(store, "c:\\");
}

std::string TrackFolderForOptions(SettingStore& store) {
  return StoredOr(store, "");
}

bool SaveTrackFolder(SettingStore& store, std::string_view folder) {
  return WriteSettingString(store, kCurrentUserRoot, kTrackFolderKeyPath, kTrackFolderValueName,
                            folder);
}

}  // namespace skyplate
