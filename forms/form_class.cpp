#include "forms/form_class.h"

#include <cctype>
#include <vector>

#include "forms/form_window_proc.h"

namespace skyplate {
namespace {

struct RegisteredForm {
  ATOM atom;
  const FormDescription* form;
};

// A handful of entries, one per form class: a linear search is enough.
std::vector<RegisteredForm>& RegisteredForms() {
  static std::vector<RegisteredForm> forms;
  return forms;
}

void RememberForm(ATOM atom, const FormDescription& form) {
  for (RegisteredForm& entry : RegisteredForms()) {
    if (entry.atom == atom) {
      entry.form = &form;
      return;
    }
  }
  RegisteredForms().push_back({atom, &form});
}

HICON LoadFormIcon(HINSTANCE instance, const char* name, int size) {
  if (!name) return nullptr;
  return static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace

std::string FormClassName(const FormDescription& form) {
  std::string name = "FORM_";
  for (const char* c = form.programName; c && *c; ++c) {
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  }
  name += "_";
  name += form.formName ? form.formName : "";
  name += "_CLASS";
  return name;
}

bool RegisterFormClass(const FormDescription& form) {
  const std::string className = FormClassName(form);
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA info = {};
  info.cbSize = sizeof info;
  // GetClassInfoExA answers with the class atom.
  ATOM atom = static_cast<ATOM>(GetClassInfoExA(instance, className.c_str(), &info));
  if (!atom) {
    WNDCLASSEXA record = {};
    record.cbSize = sizeof record;
    record.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    record.lpfnWndProc = FormWindowProc;
    record.hInstance = instance;
    record.hIcon = LoadFormIcon(instance, form.iconName, 32);
    record.hIconSm = LoadFormIcon(instance, form.iconName, 16);
    record.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    record.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    record.lpszClassName = className.c_str();
    atom = RegisterClassExA(&record);
    if (!atom) return false;
  }
  RememberForm(atom, form);
  return true;
}

const FormDescription* FormDescriptionOf(HWND window) {
  const ATOM atom = static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM));
  for (const RegisteredForm& entry : RegisteredForms()) {
    if (entry.atom == atom) return entry.form;
  }
  return nullptr;
}

}  // namespace skyplate
