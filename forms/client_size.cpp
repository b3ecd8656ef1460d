#include "forms/client_size.h"

namespace skyplate {

void SetClientSize(HWND window, int width, int height) {
  if (width == 0 || height == 0) return;
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  RECT outer = {0, 0, width, height};
  AdjustWindowRectEx(&outer, style, GetMenu(window) != nullptr, exStyle);
  if (style & WS_HSCROLL) outer.bottom += GetSystemMetrics(SM_CYHSCROLL);
  if (style & WS_VSCROLL) outer.right += GetSystemMetrics(SM_CXVSCROLL);
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace skyplate
