#include "ui/multi_line_edit_keys.h"

#include <gtest/gtest.h>

namespace skyplate {
namespace {

class MultiLineEditKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                            100, nullptr, nullptr, nullptr, nullptr);
    notes_ = Child("EDIT", WS_TABSTOP | ES_MULTILINE);
    line_ = Child("EDIT", WS_TABSTOP);
    button_ = Child("BUTTON", WS_TABSTOP);
  }
  void TearDown() override { DestroyWindow(form_); }

  HWND Child(const char* class_name, DWORD style) {
    return CreateWindowExA(0, class_name, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 50, 20, form_,
                           nullptr, nullptr, nullptr);
  }
  static MSG Message(HWND window, UINT message, WPARAM wparam) {
    return MSG{window, message, wparam, 7, 0, {0, 0}};
  }

  HWND form_, notes_, line_, button_;
};

TEST_F(MultiLineEditKeys, TabLeavesAMultiLineEditForTheNextTabStop) {
  SetFocus(notes_);
  MSG tab = Message(notes_, WM_CHAR, '\t');
  RewriteMultiLineEditKeys(&tab, "RICHEDIT20A");
  EXPECT_EQ(tab.message, static_cast<UINT>(WM_NULL));
  EXPECT_EQ(GetFocus(), line_);
}

TEST_F(MultiLineEditKeys, EscapeInAMultiLineEditBecomesCancel) {
  SetFocus(notes_);
  MSG escape = Message(notes_, WM_KEYDOWN, VK_ESCAPE);
  RewriteMultiLineEditKeys(&escape, "");
  EXPECT_EQ(escape.message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(escape.wParam, static_cast<WPARAM>(IDCANCEL));
  EXPECT_EQ(escape.lParam, 0);
  EXPECT_EQ(escape.hwnd, notes_);
}

TEST_F(MultiLineEditKeys, SingleLineEditsAndOtherKeysPassUnchanged) {
  SetFocus(line_);
  MSG tab = Message(line_, WM_CHAR, '\t');
  RewriteMultiLineEditKeys(&tab, "");
  EXPECT_EQ(tab.message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(GetFocus(), line_);

  SetFocus(notes_);
  MSG letter = Message(notes_, WM_CHAR, 'a');
  RewriteMultiLineEditKeys(&letter, "");
  EXPECT_EQ(letter.message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(letter.wParam, static_cast<WPARAM>('a'));
}

}  // namespace
}  // namespace skyplate
