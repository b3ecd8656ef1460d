// The settings store on Windows: the registry.
#pragma once

#include "settings/setting_store.h"

namespace skyplate {

// Opens and closes its key in every call; nothing is held between calls, so
// other programs may change the values at any time.
class RegistrySettingStore : public SettingStore {
 public:
  bool ReadValue(SettingRoot root, const std::string& key_path, const std::string& value_name,
                 std::string* bytes) override;
  bool WriteString(SettingRoot root, const std::string& key_path, const std::string& value_name,
                   const std::string& text) override;
};

// The store the program's windows use.
SettingStore& UserSettingStore();

}  // namespace skyplate
