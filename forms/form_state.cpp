#include "forms/form_state.h"

namespace skyplate {

INT_PTR ModalResult = 0;
HWND ActiveForm = nullptr;
void (*ModalMessageFilter)(MSG* message) = nullptr;

}  // namespace skyplate
