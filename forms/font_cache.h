// Fonts described by font spec strings and shared through a process-wide
// cache. A font spec has 14 comma-separated fields in the order of LOGFONT: face,
// size, width, escapement, orientation, weight, italic, underline, strike-out,
// character set, output precision, clip precision, quality, pitch and family;
// only face, size, weight, italic, underline and strike-out are used.
#pragma once

#include <windows.h>

namespace skyplate {

// The cached font for `font_spec`, made on first use; nullptr when it cannot be
// made. Cached fonts live until the process ends. A font spec that failed is
// tried again when asked for again.
HFONT FontFromSpec(const char* font_spec);

// A new font: size > 0 is in points at the screen's resolution, otherwise it
// is the font height itself (negative: character height in pixels).
// nullptr for an empty face.
HFONT CreateFontFromFields(const char* face, int size, int weight, int italic, int underline,
                           int strikeOut);

}  // namespace skyplate
