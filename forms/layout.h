// Moving controls with their form on resizing, by layout codes: four
// comma-separated fields for the left, top, right and bottom edge.
//   "S"        scale the coordinate with the parent's extent
//   "F<share>" keep the coordinate, moved by share percent of the change of
//              the parent's extent ("L"/"T" = 0, "R"/"B" = 100, or a number)
//   other      the coordinate becomes 0
// Codes shorter than 7 characters (the empty code of every control of the
// program) leave the control alone.
#pragma once

#include <windows.h>

namespace skyplate {

// The control's new rectangle in single precision, before rounding.
struct LayoutRect {
  float left, top, right, bottom;
};

// initial: the control's rectangle when the layout was recorded; oldWidth and
// oldHeight: the parent's client extent then; newWidth, newHeight: now.
LayoutRect ApplyLayoutCode(const char* code, const RECT& initial, int oldWidth, int oldHeight,
                           int newWidth, int newHeight);

// For every size change of a form: records each attached control's layout
// the first time, and unless the form was minimised applies the codes.
void LayoutFormControls(HWND form, WPARAM sizeType);

}  // namespace skyplate
