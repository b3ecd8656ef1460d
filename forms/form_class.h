// The window class of each form: its name, its one-time registration, and the
// way back from a form's window to its description.
#pragma once

#include <windows.h>

#include <string>

#include "forms/form_description.h"

namespace skyplate {

// "FORM_" + upper-cased program name + "_" + form name + "_CLASS".
std::string FormClassName(const FormDescription& form);

// Registers the form's class unless the process already has it; false when
// the class is neither there nor could be registered.
bool RegisterFormClass(const FormDescription& form);

// The description a form window was registered with, or nullptr.
const FormDescription* FormDescriptionOf(HWND window);

}  // namespace skyplate
