// Creating and showing forms, modal with their own message loop or modeless.
#pragma once

#include <windows.h>

#include "forms/form_description.h"

namespace skyplate {

// Registers the form's class on first use, creates the form centred on the
// screen with owner as its owner and creationParameter for its on-load
// handler, and shows it.
// modal == 1: disables the owner's top-level window, runs the form's message
// loop until the form is gone and returns ModalResult (reset to 0).
// Otherwise (and for MDI children): returns the form's window handle.
// -1 when no window was created.
INT_PTR ShowForm(const FormDescription& form, HWND owner, int modal, LPARAM creationParameter);

// The form a window belongs to: the window itself or its nearest ancestor
// that is top-level, an MDI child or of a form class; nullptr for nullptr.
HWND FindFormWindow(HWND window);

}  // namespace skyplate
