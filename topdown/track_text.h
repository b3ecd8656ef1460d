// Track files as editors save them: single-byte ANSI or UTF-8, perhaps with a
// byte-order mark, or UTF-16 in either byte order with one.
#pragma once

#include <string>
#include <string_view>

namespace skyplate {

// The UTF-8 form of UTF-16 text; a surrogate without its partner becomes
// U+FFFD, as the platform's own conversion does.
std::string Utf8FromUtf16(std::u16string_view text);

// UTF-8 text in the encoding the platform's narrow file functions take names
// in: unchanged on POSIX, the ANSI code page on Windows.
std::string NarrowFromUtf8(const std::string& text);

// The text of a track file's bytes, names in it ready to be opened: after a
// UTF-8 byte-order mark, or in UTF-16 after a little- or big-endian one,
// converted by NarrowFromUtf8; without a mark, byte for byte as it stands.
std::string DecodeTrackText(std::string bytes);

}  // namespace skyplate
