#include "forms/form_window_proc.h"

#include "forms/control_access.h"
#include "forms/control_colours.h"
#include "forms/form_class.h"
#include "forms/form_data.h"
#include "forms/form_description.h"
#include "forms/form_state.h"
#include "forms/layout.h"
#include "forms/tags.h"

namespace skyplate {
namespace {

int ControlIndex(HWND control) {
  const FormData* data = control ? GetFormData(control) : nullptr;
  return data ? data->Index : -1;
}

LRESULT DispatchCommand(const FormDescription& form, HWND window, WPARAM wParam, LPARAM lParam) {
  const int id = static_cast<short>(LOWORD(wParam));
  const int code = static_cast<short>(HIWORD(wParam));
  if (form.onCommand) {
    if (const LRESULT result = form.onCommand(window, lParam, code, id)) return result;
  }
  for (const FormCommand& command : form.commands) {
    if (static_cast<WORD>(command.id) != LOWORD(wParam)) continue;
    if (static_cast<WORD>(command.notificationCode) != HIWORD(wParam)) continue;
    return command.handler(ControlIndex(reinterpret_cast<HWND>(lParam)), window, lParam, id);
  }
  return 0;
}

// Controls attached without the subclass procedure have nobody else to free
// their data.
BOOL CALLBACK ReleaseUnsubclassedControl(HWND child, LPARAM) {
  FormData* data = GetFormData(child);
  if (data && !data->IsForm && !data->PrevWndProc) {
    ReleaseFormData(child, data);
    ReleaseTags(child);
  }
  return TRUE;
}

void OnFormDestroy(const FormDescription& form, HWND window, FormData* data) {
  if (form.handle) *form.handle = nullptr;
  ReleaseFormData(window, data);
  ReleaseTags(window);
  EnumChildWindows(window, ReleaseUnsubclassedControl, 0);
  if (form.onDestroy) form.onDestroy(window);
}

LRESULT OnFormCreate(const FormDescription& form, HWND window, LPARAM lParam) {
  FormData* data = AllocateFormData();
  if (!data) return -1;
  SetPropA(window, kFormDataProperty, data);
  data->IsForm = 1;
  if (form.handle) *form.handle = window;
  SetTag(window, "");
  SetTag2(window, "");
  if (form.createControls) form.createControls(window);
  if (form.onLoad) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    const LPARAM parameter = reinterpret_cast<LPARAM>(creation->lpCreateParams);
    if (const LRESULT result = form.onLoad(window, parameter)) {
      // Refused: Windows would send WM_DESTROY next, Wine does not. Either
      // way the form's data goes now, while its controls still exist.
      if (result == -1) OnFormDestroy(form, window, data);
      return result;
    }
  }
  return DefWindowProcA(window, WM_CREATE, 0, lParam);
}

void OnFormFocus(const FormData* data) {
  // The control may have gone since; SetFocus(nullptr) would take the
  // keyboard away from the form.
  if (data && data->LastFocus && IsWindow(data->LastFocus)) SetFocus(data->LastFocus);
}

void OnFormClose(HWND window, const FormData* data) {
  if (!data || !data->IsModal) return;
  ReleaseModalOwner(*data);
  ShowWindow(window, SW_HIDE);
}

}  // namespace

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const FormDescription* form = FormDescriptionOf(window);
  if (!form) return DefWindowProcA(window, message, wParam, lParam);
  FormData* data = message == WM_CREATE ? nullptr : GetFormData(window);

  switch (message) {
    case WM_SIZE:
      LayoutFormControls(window, wParam);
      break;
    case WM_ACTIVATE:
      ActiveForm = LOWORD(wParam) == WA_INACTIVE ? nullptr : window;
      break;
    case WM_COMMAND:
      if (const LRESULT result = DispatchCommand(*form, window, wParam, lParam)) return result;
      break;
  }
  if (form->onMessage) {
    if (const LRESULT result = form->onMessage(window, message, wParam, lParam)) return result;
  }
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_CLOSE) break;
      SendMessageA(window, WM_CLOSE, wParam, lParam);
      return 0;
    case WM_SETFOCUS:
      OnFormFocus(data);
      break;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      RefreshControlColours(window);
      break;
    case WM_CLOSE:
      OnFormClose(window, data);
      break;
    case WM_DESTROY:
      if (data) OnFormDestroy(*form, window, data);
      return 0;
    case WM_CREATE:
      return OnFormCreate(*form, window, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush =
              ControlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace skyplate
