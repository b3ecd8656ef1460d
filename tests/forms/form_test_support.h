// Helpers for tests that drive real windows of the form runtime.
#pragma once

#include <windows.h>

#include <string>

namespace skyplate::test {

// Dispatches this thread's messages for about ms milliseconds.
void PumpMessages(DWORD ms);

// A plain top-level window of a class of the tests' own, visible; for owners
// and for "another application" to switch to.
HWND CreatePlainWindow(const char* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                       HWND parent = nullptr, int id = 0);

// Bytes currently allocated from the process heap.
SIZE_T ProcessHeapBusyBytes();

// Names of the runtime's properties ("FLY_...") still on the window.
std::string RuntimePropertiesOf(HWND window);

}  // namespace skyplate::test
