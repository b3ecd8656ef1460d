#include <windows.h>

#include <climits>

#include "topdown/track_text.h"

namespace skyplate {

// The ANSI file functions take names in the ANSI code page, which is what
// the platform's profile reader turns a Unicode track file into as well.
// Characters the code page lacks become its default character.
std::string NarrowFromUtf8(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int wide_size = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  if (wide_size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), wide_size);
  const int narrow_size =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
  if (narrow_size <= 0) return {};
  std::string narrow(static_cast<std::size_t>(narrow_size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_size, narrow.data(), narrow_size, nullptr,
                      nullptr);
  return narrow;
}

}  // namespace skyplate
