#include "tests/ui_dialogs/registry_helpers.h"

#include <sddl.h>

namespace skyplate::testing {
namespace {

void SetKeyAccessList(const std::string& key_path, const char* sddl) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key_path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) {
    return;
  }
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                           nullptr)) {
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
  }
  RegCloseKey(key);
}

}  // namespace

void DeleteKeyTree(const std::string& key_path) {
  SetKeyAccessList(key_path, "D:(A;;KA;;;WD)");
  RegDeleteTreeA(HKEY_CURRENT_USER, key_path.c_str());
}

void StoreRawValue(const std::string& key_path, const std::string& value_name, DWORD type,
                   const std::string& bytes) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, value_name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

std::string StoredBytes(const std::string& key_path, const std::string& value_name) {
  std::string bytes(8192, '\0');
  DWORD size = static_cast<DWORD>(bytes.size());
  if (RegGetValueA(HKEY_CURRENT_USER, key_path.c_str(), value_name.c_str(),
                   RRF_RT_ANY | RRF_NOEXPAND, nullptr, bytes.data(), &size) != ERROR_SUCCESS) {
    return "<missing>";
  }
  bytes.resize(size);
  return bytes;
}

void DenyWritingToKey(const std::string& key_path) {
  // Deny set-value and create-subkey (0x6) but allow reading: denying all of
  // KEY_WRITE would deny READ_CONTROL and so reading too.
  SetKeyAccessList(key_path, "D:P(D;;0x6;;;WD)(A;;KR;;;WD)");
}

}  // namespace skyplate::testing
