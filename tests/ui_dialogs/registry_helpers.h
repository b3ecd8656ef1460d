// Putting the registry into the states the settings tests need.
#pragma once

#include <windows.h>

#include <string>

namespace skyplate::testing {

// Removes the key and everything below it, first lifting any denial a test
// put on it (the owner can always rewrite the access list).
void DeleteKeyTree(const std::string& key_path);

// Creates the key and stores raw bytes of any type under `value_name`.
void StoreRawValue(const std::string& key_path, const std::string& value_name, DWORD type,
                   const std::string& bytes);

// The value's bytes, or "<missing>".
std::string StoredBytes(const std::string& key_path, const std::string& value_name);

// Makes the existing key readable but impossible to open for writing, as a
// key an administrator locked would be.
void DenyWritingToKey(const std::string& key_path);

}  // namespace skyplate::testing
