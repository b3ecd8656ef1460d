// The one setting the tool keeps: the folder where the user's tracks live.
#pragma once

#include <string>
#include <string_view>

#include "settings/setting_store.h"

namespace skyplate {

inline constexpr char kTrackFolderKeyPath[] = "Software\\Brackenfold\\Dunerally";
inline constexpr char kTrackFolderValueName[] = "TrackFolder";
// What readers pass as the default; a stored "Not Found" therefore reads as
// no setting at all.
inline constexpr char kSettingNotFound[] = "Not Found";

// The folder the track file chooser starts in: the stored text unchanged
// (even empty), or "c:\" when nothing is stored.
std::string TrackFolderForChooser(SettingStore& store);

// The text the Options window shows: the stored text unchanged, or empty when
// nothing is stored.
std::string TrackFolderForOptions(SettingStore& store);

// Stores `folder` exactly as typed; false when it could not be stored.
bool SaveTrackFolder(SettingStore& store, std::string_view folder);

}  // namespace skyplate
