#include "forms/control_colours.h"

#include <cstring>

#include "forms/form_data.h"

namespace skyplate {
namespace {

COLORREF ResolveColour(COLORREF colour, int isSysColor) {
  return isSysColor ? GetSysColor(static_cast<int>(colour)) : colour;
}

bool IsEditControl(HWND window) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, "EDIT") == 0;
}

BOOL CALLBACK RefreshChildColours(HWND child, LPARAM) {
  FormData* data = GetFormData(child);
  if (data && data->CustomColors && data->BackIsSysColor) {
    ReplaceBackBrush(*data, GetSysColorBrush(static_cast<int>(data->BackColor)), false);
  }
  return TRUE;
}

}  // namespace

HBRUSH ControlColours(HDC dc, HWND control) {
  // A control the runtime did not attach keeps the platform's colours, even
  // when another control of the form has custom ones.
  const FormData* data = GetFormData(control);
  if (!data || !data->CustomColors) return nullptr;
  SetTextColor(dc, ResolveColour(data->TextColor, data->TextIsSysColor));
  SetBkColor(dc, ResolveColour(data->BackColor, data->BackIsSysColor));
  HBRUSH brush = data->BackBrush;
  if (IsEditControl(data->Hwnd)) {
    SetBkMode(dc, OPAQUE);
    if (!IsWindowEnabled(control)) {
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      brush = GetSysColorBrush(COLOR_BTNFACE);
    }
  } else {
    SetBkMode(dc, TRANSPARENT);
  }
  return brush;
}

void RefreshControlColours(HWND form) {
  EnumChildWindows(form, RefreshChildColours, 0);
}

}  // namespace skyplate
