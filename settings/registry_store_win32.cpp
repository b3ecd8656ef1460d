#include "settings/registry_store_win32.h"

#include <windows.h>

namespace skyplate {
namespace {

// Predefined keys are 32-bit values sign-extended to the handle's width.
HKEY RootKey(SettingRoot root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

// Another program may grow the value between asking its size and reading it.
constexpr int kReadAttempts = 3;

}  // namespace

bool RegistrySettingStore::ReadValue(SettingRoot root, const std::string& key_path,
                                     const std::string& value_name, std::string* bytes) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootKey(root), key_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  LONG result = ERROR_MORE_DATA;
  for (int attempt = 0; attempt < kReadAttempts && result == ERROR_MORE_DATA; ++attempt) {
    DWORD size = 0;
    result = RegQueryValueExA(key, value_name.c_str(), nullptr, nullptr, nullptr, &size);
    if (result != ERROR_SUCCESS) break;
    bytes->assign(size, '\0');
    result = RegQueryValueExA(key, value_name.c_str(), nullptr, nullptr,
                              reinterpret_cast<BYTE*>(bytes->data()), &size);
    if (result == ERROR_SUCCESS) bytes->resize(size);
  }
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool RegistrySettingStore::WriteString(SettingRoot root, const std::string& key_path,
                                       const std::string& value_name, const std::string& text) {
  HKEY key = nullptr;
  char no_class[] = "";
  if (RegCreateKeyExA(RootKey(root), key_path.c_str(), 0, no_class, REG_OPTION_NON_VOLATILE,
                      KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG result = RegSetValueExA(key, value_name.c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

SettingStore& UserSettingStore() {
  static RegistrySettingStore store;
  return store;
}

}  // namespace skyplate
