// Reading and writing one string setting, with the rules shared by every
// platform's store.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "settings/setting_store.h"

namespace skyplate {

// Texts and value names pass through buffers of this many bytes, the last
// one kept for the terminating zero.
inline constexpr std::size_t kSettingBufferSize = 1024;

// The value's text up to its first zero byte, or `default_text` (cut to fit
// the buffer) when the key or value is missing or unreadable, or when the
// stored value does not fit the buffer (a text of kSettingBufferSize bytes or
// more). Root 0 means the current user.
std::string ReadSettingString(SettingStore& store, SettingRoot root, std::string_view key_path,
                              std::string_view value_name, std::string_view default_text);

// Stores `text` cut to kSettingBufferSize - 1 bytes under a value name cut the
// same way. Root 0 means the current user. False leaves any earlier value.
bool WriteSettingString(SettingStore& store, SettingRoot root, std::string_view key_path,
                        std::string_view value_name, std::string_view text);

// `key_path` without its leading, then its trailing backslashes, so that
// "\\Software\\X\\" and "Software\\X" name the same key.
std::string StripKeyPathBackslashes(std::string_view key_path);

}  // namespace skyplate
