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

LRESULT OnControlDestroy(HWND control, FormData* data, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = data->PrevWndProc;
  ReleaseFormData(control, data);
  ReleaseTags(control);
  if (!previous) return 0;
  SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  CallWindowProcA(previous, control, WM_DESTROY, wParam, lParam);
  return 0;
}

}  // namespace

LRESULT CALLBACK ControlSubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  FormData* data = GetFormData(control);
  if (message == WM_DESTROY) return data ? OnControlDestroy(control, data, wParam, lParam) : 0;
  if (!data || !data->PrevWndProc) return DefWindowProcA(control, message, wParam, lParam);
  if (message == WM_SETFOCUS) OnControlFocus(control, *data);
  return CallWindowProcA(data->PrevWndProc, control, message, wParam, lParam);
}

}  // namespace skyplate
