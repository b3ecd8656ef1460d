// Small accessors the forms' handlers use; each does nothing (and answers
// the empty text or 0) for a window that no longer exists.
#pragma once

#include <windows.h>

#include <string>

#include "forms/form_data.h"

namespace skyplate {

std::string GetControlText(HWND window);
void SetControlText(HWND window, const char* text);
BOOL ShowControl(HWND window, int showCommand);

// Ends a form: re-enables and activates the window it kept disabled while
// modal, destroys it and leaves result in ModalResult. A form that no longer
// exists leaves ModalResult unchanged.
void CloseForm(HWND form, INT_PTR result);

// Re-enables and activates the owner a modal form disabled.
void ReleaseModalOwner(const FormData& form);

}  // namespace skyplate
