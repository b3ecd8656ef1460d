#include "ui/multi_line_edit_keys.h"

#include <algorithm>
#include <cctype>

namespace skyplate {
namespace {

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

bool IsMultiLineEdit(HWND window, const std::string& rich_edit_class) {
  char class_name[260] = "";
  GetClassNameA(window, class_name, sizeof(class_name));
  const std::string name = UpperCase(class_name);
  const bool edit =
      name == "EDIT" || (!rich_edit_class.empty() && name == UpperCase(rich_edit_class));
  return edit && (GetWindowLongA(window, GWL_STYLE) & ES_MULTILINE) != 0;
}

}  // namespace

void RewriteMultiLineEditKeys(MSG* message, const std::string& rich_edit_class) {
  const bool escape = message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE;
  const bool tab = message->message == WM_CHAR && message->wParam == '\t';
  if (!escape && !tab) return;
  HWND focus = GetFocus();
  if (focus == nullptr || !IsMultiLineEdit(focus, rich_edit_class)) return;
  if (escape) {
    message->message = WM_COMMAND;
    message->wParam = IDCANCEL;
    message->lParam = 0;
    return;
  }
  const BOOL backwards = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
  if (HWND next = GetNextDlgTabItem(GetParent(message->hwnd), message->hwnd, backwards)) {
    SetFocus(next);
  }
  message->message = WM_NULL;
}

}  // namespace skyplate
