#include "forms/show_form.h"

#include <cstring>
#include <string>

#include "forms/form_class.h"
#include "forms/form_data.h"
#include "forms/form_state.h"

namespace skyplate {
namespace {

LONG_PTR StyleOf(HWND window) {
  return GetWindowLongPtrA(window, GWL_STYLE);
}
LONG_PTR ExStyleOf(HWND window) {
  return GetWindowLongPtrA(window, GWL_EXSTYLE);
}

// The window a modal form disables: the owner, or its top-level ancestor when
// the owner is a child window.
HWND RaiseOwner(HWND owner) {
  while (owner && (StyleOf(owner) & WS_CHILD) && !(ExStyleOf(owner) & WS_EX_MDICHILD)) {
    owner = GetParent(owner);
  }
  return owner;
}

// Runs until the form is gone or WM_QUIT arrives. The form is checked before
// waiting, so a form closed by the last message ends the loop at once and no
// message meant for another window is taken and dropped.
void RunModalLoop(HWND form) {
  MSG message;
  while (IsWindow(form)) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) break;
    if (got == -1) continue;
    HWND dialog = FindFormWindow(ActiveForm);
    if (ModalMessageFilter) ModalMessageFilter(&message);
    if (dialog && IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

HWND FindFormWindow(HWND window) {
  while (window) {
    if (!(StyleOf(window) & WS_CHILD)) return window;
    if (ExStyleOf(window) & WS_EX_MDICHILD) return window;
    char className[30] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strncmp(className, "FORM_", 5) == 0) return window;
    window = GetParent(window);
  }
  return nullptr;
}

INT_PTR ShowForm(const FormDescription& form, HWND owner, int modal, LPARAM creationParameter) {
  if (!RegisterFormClass(form)) return -1;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - form.width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - form.height) / 2;
  HWND window =
      CreateWindowExA(form.exStyle, FormClassName(form).c_str(), form.caption, form.style, x, y,
                      form.width, form.height, owner, nullptr, GetModuleHandleA(nullptr),
                      reinterpret_cast<LPVOID>(creationParameter));
  if (!IsWindow(window)) return -1;
  if (modal != 1 || (form.exStyle & WS_EX_MDICHILD)) {
    ShowWindow(window, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(window);
  }
  const HWND disabled = RaiseOwner(owner);
  if (FormData* data = GetFormData(window)) {
    data->IsModal = 1;
    data->ModalOwner = disabled;
  }
  if (disabled) EnableWindow(disabled, FALSE);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  RunModalLoop(window);
  const INT_PTR result = ModalResult;
  ModalResult = 0;
  return result;
}

}  // namespace skyplate
