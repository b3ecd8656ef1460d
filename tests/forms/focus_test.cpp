// Focus within a form: LastFocus comes back on reactivation, SelectOnFocus.
#include <gtest/gtest.h>

#include "forms/forms.h"
#include "tests/forms/form_test_support.h"

namespace skyplate {
namespace {

HWND g_form;
HWND g_plainEdit;   // SelectOnFocus off
HWND g_selectEdit;  // SelectOnFocus on
HWND g_button;

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;

void CreateFocusControls(HWND form) {
  g_plainEdit = CreateFormControl(
      form, {WS_EX_CLIENTEDGE, "Edit", "hello world", kEditStyle, 10, 10, 200, 24, 1000}, {});
  g_selectEdit = CreateFormControl(
      form, {WS_EX_CLIENTEDGE, "Edit", "select me", kEditStyle, 10, 40, 200, 24, 1001},
      {.selectOnFocus = true});
  g_button = CreateFormControl(
      form, {0, "Button", "&Go", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 70, 80, 24, 1002}, {});
  SetFocus(g_plainEdit);
}

const FormDescription kFocusForm = {.programName = "Skyplate",
                                    .formName = "TEST_FOCUS",
                                    .caption = "Focus",
                                    .style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                                    .exStyle = WS_EX_CONTROLPARENT,
                                    .width = 300,
                                    .height = 160,
                                    .handle = &g_form,
                                    .createControls = CreateFocusControls};

class FormFocus : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ShowForm(kFocusForm, nullptr, 0, 0), -1);
    test::PumpMessages(20);
  }
  void TearDown() override { CloseForm(g_form, 0); }
};

std::pair<DWORD, DWORD> Selection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

// Other test processes may hold the foreground for a moment; until then this
// thread has no focus at all. Asking again until it has one keeps the check
// about where the focus goes, not whether Wine hands it over at once.
bool RetryUntilFocused(HWND window, HWND expected) {
  for (int i = 0; i < 50 && GetFocus() != expected; ++i) {
    SetFocus(window);
    test::PumpMessages(20);
  }
  return GetFocus() == expected;
}

TEST_F(FormFocus, ReactivationGivesTheFocusBackToTheLastControl) {
  ASSERT_TRUE(RetryUntilFocused(g_selectEdit, g_selectEdit));
  EXPECT_EQ(GetFormData(g_form)->LastFocus, g_selectEdit);

  HWND other = test::CreatePlainWindow("Another application");
  SetActiveWindow(other);
  test::PumpMessages(20);
  ASSERT_NE(GetFocus(), g_selectEdit);

  SetActiveWindow(g_form);
  test::PumpMessages(20);
  if (GetFocus() == nullptr) RetryUntilFocused(g_form, g_selectEdit);
  EXPECT_EQ(GetFocus(), g_selectEdit);
  DestroyWindow(other);
}

TEST_F(FormFocus, SelectOnFocusSelectsAllOtherwiseTheSelectionGoes) {
  SendMessageA(g_plainEdit, EM_SETSEL, 0, -1);
  ASSERT_TRUE(RetryUntilFocused(g_button, g_button));
  ASSERT_TRUE(RetryUntilFocused(g_plainEdit, g_plainEdit));
  const auto plain = Selection(g_plainEdit);
  EXPECT_EQ(plain.first, plain.second) << "no text selected";

  ASSERT_TRUE(RetryUntilFocused(g_selectEdit, g_selectEdit));
  EXPECT_EQ(Selection(g_selectEdit), std::make_pair(DWORD{0}, DWORD{9}));
}

TEST_F(FormFocus, FormWithoutLastFocusKeepsTheFocusItself) {
  GetFormData(g_form)->LastFocus = nullptr;
  EXPECT_TRUE(RetryUntilFocused(g_form, g_form));
}

}  // namespace
}  // namespace skyplate
