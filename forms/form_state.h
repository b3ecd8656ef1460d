// Process-wide values of the form runtime, touched only on the GUI thread.
#pragma once

#include <windows.h>

namespace skyplate {

// The result CloseForm left for the modal ShowForm that is waiting for it.
extern INT_PTR ModalResult;
// The form most recently activated; nullptr after a form was deactivated.
extern HWND ActiveForm;
// Offered every message of a modal loop just before the dialog navigation
// sees it; set by the program at start-up (may be nullptr).
extern void (*ModalMessageFilter)(MSG* message);

}  // namespace skyplate
