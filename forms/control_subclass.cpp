#include "forms/control_subclass.h"

#include "forms/form_data.h"
#include "forms/tags.h"

namespace skyplate {
namespace {

// The form a control sits on: its parent, or the parent's parent when the
// control sits on a child window such as a group.
HWND FormOfControl(HWND control) {
  HWND parent = GetParent(control);
  if (parent && (GetWindowLongPtrA(parent, GWL_STYLE) & WS_CHILD)) return GetParent(parent);
  return parent;
}

void OnControlFocus(HWND control, const FormData& data) {
  if (data.SelectOnFocus) {
    SendMessageA(control, EM_SETSEL, 0, -1);
  } else {
    SendMessageA(control, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  }
  if (FormData* form = GetFormData(FormOfControl(control))) form->LastFocus = control;
}

LRESULT OnControlDestroy(HWND control, FormData* data, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = data->PrevWndProc;
  ReleaseFormData(control, data);
  ReleaseTags(control);
  if (!previous) return 0;
  SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  CallWindowProcA(previous, control, message, wParam, lParam);
  return 0;
}

}  // namespace

LRESULT CALLBACK ControlSubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  FormData* data = GetFormData(control);
  // WM_NCDESTROY only when the form was refused in WM_CREATE: Wine then
  // destroys the controls without WM_DESTROY.
  if (message == WM_DESTROY || (message == WM_NCDESTROY && data)) {
    return data ? OnControlDestroy(control, data, message, wParam, lParam) : 0;
  }
  if (!data || !data->PrevWndProc) return DefWindowProcA(control, message, wParam, lParam);
  if (message == WM_SETFOCUS) OnControlFocus(control, *data);
  return CallWindowProcA(data->PrevWndProc, control, message, wParam, lParam);
}

}  // namespace skyplate
