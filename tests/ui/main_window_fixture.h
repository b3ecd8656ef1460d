// A main window made in the test's own process, as the start-up makes it but
// without entering its message loop.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "forms/show_form.h"
#include "ui/main_window.h"
#include "ui/program_values.h"
#include "ui_test_support.h"

namespace skyplate {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Startup.instance = GetModuleHandleA(nullptr);
    Startup.argument_text.clear();
    window_ = reinterpret_cast<HWND>(ShowForm(kMainForm, nullptr, 0, 0));
    ASSERT_TRUE(IsWindow(window_));
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    CloseTopLevelWindows(GetCurrentProcessId(), "Topdown");
    // The window's end asks the message loop to stop; no loop runs here.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  void Click(int id) {
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window_, id)));
  }

  HWND window_ = nullptr;
};

}  // namespace skyplate
