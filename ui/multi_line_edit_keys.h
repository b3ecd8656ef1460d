// Escape and Tab in a multi-line edit control of a form: the dialog
// navigation of the message loop would leave both to the control, which
// swallows them.
#pragma once

#include <windows.h>

#include <string>

namespace skyplate {

// When the focus is in a multi-line edit (or rich edit) control, rewrites
// Escape's key-down into the Cancel command for its window, and moves the
// focus to the next (with Shift, the previous) tab stop on a Tab character,
// turning that message into WM_NULL. Any other message is left as it is.
void RewriteMultiLineEditKeys(MSG* message, const std::string& rich_edit_class);

}  // namespace skyplate
