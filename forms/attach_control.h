// Attaching standard controls to the runtime: their FormData, font, colours,
// subclass procedure and layout code.
#pragma once

#include <windows.h>

#include "forms/control_subclass.h"
#include "forms/form_data.h"

namespace skyplate {

// BackBrush value asking the runtime to make the brush from BackColor.
inline const HBRUSH kRuntimeBrush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(-1));

struct ControlAttachment {
  bool subclass = true;
  const char* fontSpec = nullptr;  // nullptr: the control keeps its font
  int index = 0;
  bool customColors = false;  // the colours below apply only when set
  bool textIsSysColor = false;
  bool backIsSysColor = false;
  COLORREF textColor = 0;  // RGB, or a COLOR_* index when textIsSysColor
  COLORREF backColor = 0;  // RGB, or a COLOR_* index when backIsSysColor
  HBRUSH brush = kRuntimeBrush;
  WNDPROC subclassProc = ControlSubclassProc;
  const char* layoutCode = "";  // at most 29 characters are kept
  bool selectOnFocus = false;
};

// The control's new FormData, or nullptr when it could not be allocated (the
// control then keeps its font, procedure and the platform's colours).
FormData* AttachControl(HWND control, const ControlAttachment& attachment);

// How one control of a form is created, in the form's client coordinates.
struct ControlTemplate {
  DWORD exStyle;
  const char* className;
  const char* text;
  DWORD style;
  int x;
  int y;
  int width;
  int height;
  int id;
};

// Creates a control on the form, attaches it and sets its tags to the empty
// text; nullptr when the control could not be created.
HWND CreateFormControl(HWND form, const ControlTemplate& control,
                       const ControlAttachment& attachment);

}  // namespace skyplate
