// Two free texts per window of the runtime, kept in the window properties
// "FLY_TAGPROPERTY" and "FLY_TAGPROPERTY2" as zero-terminated heap blocks.
#pragma once

#include <windows.h>

namespace skyplate {

inline constexpr char kTagProperty[] = "FLY_TAGPROPERTY";
inline constexpr char kTag2Property[] = "FLY_TAGPROPERTY2";

// Replace the window's tag with a copy of text, freeing the previous block.
// Nothing happens when the window does not exist.
void SetTag(HWND window, const char* text);
void SetTag2(HWND window, const char* text);

// Frees both tag blocks and removes their properties.
void ReleaseTags(HWND window);

}  // namespace skyplate
