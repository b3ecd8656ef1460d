#include "forms/control_access.h"

#include "forms/form_data.h"
#include "forms/form_state.h"

namespace skyplate {

std::string GetControlText(HWND window) {
  if (!IsWindow(window)) return {};
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

void SetControlText(HWND window, const char* text) {
  if (IsWindow(window)) SetWindowTextA(window, text);
}

BOOL ShowControl(HWND window, int showCommand) {
  return IsWindow(window) ? ShowWindow(window, showCommand) : FALSE;
}

void ReleaseModalOwner(const FormData& form) {
  if (!form.ModalOwner || !IsWindow(form.ModalOwner)) return;
  EnableWindow(form.ModalOwner, TRUE);
  SetActiveWindow(form.ModalOwner);
}

void CloseForm(HWND form, INT_PTR result) {
  if (!IsWindow(form)) return;
  // The owner comes back before the form goes, so that activation passes to
  // it rather than to some other program's window.
  if (const FormData* data = GetFormData(form); data && data->IsModal) ReleaseModalOwner(*data);
  DestroyWindow(form);
  ModalResult = result;
}

}  // namespace skyplate
