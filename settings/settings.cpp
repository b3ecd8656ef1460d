#include "settings/settings.h"

namespace skyplate {
namespace {

std::string CutToBuffer(std::string_view text) {
  return std::string(text.substr(0, kSettingBufferSize - 1));
}

SettingRoot RootOrCurrentUser(SettingRoot root) {
  return root == 0 ? kCurrentUserRoot : root;
}

}  // namespace

std::string StripKeyPathBackslashes(std::string_view key_path) {
  const std::size_t first = key_path.find_first_not_of('\\');
  if (first == std::string_view::npos) return std::string();
  const std::size_t last = key_path.find_last_not_of('\\');
  return std::string(key_path.substr(first, last - first + 1));
}

std::string ReadSettingString(SettingStore& store, SettingRoot root, std::string_view key_path,
                              std::string_view value_name, std::string_view default_text) {
  std::string bytes;
  if (!store.ReadValue(RootOrCurrentUser(root), StripKeyPathBackslashes(key_path),
                       std::string(value_name), &bytes)) {
    return CutToBuffer(default_text);
  }
  // A value too long for the buffer is treated as unreadable rather than
  // returned cut: a cut path would silently name another folder.
  std::string text = bytes.substr(0, bytes.find('\0'));
  if (bytes.size() > kSettingBufferSize || text.size() >= kSettingBufferSize) {
    return CutToBuffer(default_text);
  }
  return text;
}

bool WriteSettingString(SettingStore& store, SettingRoot root, std::string_view key_path,
                        std::string_view value_name, std::string_view text) {
  // A zero byte inside the text would end the stored string early; what is
  // written is what a read gives back.
  const std::string stored = CutToBuffer(text.substr(0, text.find('\0')));
  return store.WriteString(RootOrCurrentUser(root), StripKeyPathBackslashes(key_path),
                           CutToBuffer(value_name), stored);
}

}  // namespace skyplate
