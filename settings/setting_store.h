// The per-user settings store: a hierarchy of keys holding named string
// values. The rules every caller relies on (default root, key path clean-up,
// buffer cuts, fallbacks to a default) live in settings.h; a store only moves
// bytes to and from wherever the platform keeps them.
#pragma once

#include <cstdint>
#include <string>

namespace skyplate {

// A root of the store as the registry numbers its predefined keys.
using SettingRoot = std::uint32_t;
inline constexpr SettingRoot kCurrentUserRoot = 0x80000001;  // HKEY_CURRENT_USER

class SettingStore {
 public:
  virtual ~SettingStore() = default;

  // The value's stored bytes, whatever its type, terminating zero included.
  // False when the key cannot be opened for reading or has no such value.
  virtual bool ReadValue(SettingRoot root, const std::string& key_path,
                         const std::string& value_name, std::string* bytes) = 0;
  // Creates the key and any missing parents, then stores `text` as a string
  // value. False when the key cannot be created or the value not stored.
  virtual bool WriteString(SettingRoot root, const std::string& key_path,
                           const std::string& value_name, const std::string& text) = 0;
};

}  // namespace skyplate
