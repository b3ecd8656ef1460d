#include "tests/forms/form_test_support.h"

#include <cstring>

namespace skyplate::test {
namespace {

constexpr char kPlainClass[] = "SKYPLATE_TEST_PLAIN";

BOOL CALLBACK CollectRuntimeProperty(HWND, LPSTR name, HANDLE, ULONG_PTR names) {
  // Atom-named properties come as small integers, not strings.
  if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF && std::strncmp(name, "FLY_", 4) == 0) {
    *reinterpret_cast<std::string*>(names) += std::string(name) + " ";
  }
  return TRUE;
}

}  // namespace

void PumpMessages(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  MSG message;
  do {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

HWND CreatePlainWindow(const char* title, DWORD style, HWND parent, int id) {
  WNDCLASSEXA info = {};
  info.cbSize = sizeof info;
  if (!GetClassInfoExA(GetModuleHandleA(nullptr), kPlainClass, &info)) {
    info.lpfnWndProc = DefWindowProcA;
    info.hInstance = GetModuleHandleA(nullptr);
    info.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    info.lpszClassName = kPlainClass;
    RegisterClassExA(&info);
  }
  return CreateWindowExA(0, kPlainClass, title, style, 10, 10, 320, 240, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

SIZE_T ProcessHeapBusyBytes() {
  HANDLE heap = GetProcessHeap();
  SIZE_T busy = 0;
  PROCESS_HEAP_ENTRY entry = {};
  HeapLock(heap);
  while (HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
  }
  HeapUnlock(heap);
  return busy;
}

std::string RuntimePropertiesOf(HWND window) {
  std::string names;
  EnumPropsExA(window, CollectRuntimeProperty, reinterpret_cast<LPARAM>(&names));
  return names;
}

}  // namespace skyplate::test
