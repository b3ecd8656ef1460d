// Showing and closing forms: class registration, modal results, owners.
#include <gtest/gtest.h>

#include "forms/forms.h"
#include "tests/forms/form_test_support.h"

namespace skyplate {
namespace {

constexpr DWORD kFormStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU;

HWND g_form;
INT_PTR g_closeResult;
HWND g_watchedOwner;
BOOL g_ownerEnabledDuringLoop;
BOOL g_ownerEnabledAtDestroy;

void RecordOwnerAtDestroy(HWND) {
  g_ownerEnabledAtDestroy = IsWindowEnabled(g_watchedOwner);
}

const FormDescription kShowForm = {.programName = "Skyplate",
                                   .formName = "TEST_SHOW",
                                   .caption = "Show",
                                   .style = kFormStyle,
                                   .exStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE,
                                   .width = 300,
                                   .height = 200,
                                   .handle = &g_form,
                                   .onDestroy = RecordOwnerAtDestroy};

LRESULT RefuseCreation(HWND, LPARAM) {
  return -1;
}

const FormDescription kRefusedForm = {.programName = "Skyplate",
                                      .formName = "TEST_REFUSED",
                                      .caption = "Refused",
                                      .style = kFormStyle,
                                      .width = 300,
                                      .height = 200,
                                      .handle = &g_form,
                                      .onLoad = RefuseCreation};

void CALLBACK CloseWithResult(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_ownerEnabledDuringLoop = IsWindowEnabled(g_watchedOwner);
  CloseForm(g_form, g_closeResult);
}

void CALLBACK PressCloseBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_ownerEnabledDuringLoop = IsWindowEnabled(g_watchedOwner);
  SendMessageA(g_form, WM_SYSCOMMAND, SC_CLOSE, 0);
}

ATOM ClassAtom(const char* name) {
  WNDCLASSEXA info = {};
  info.cbSize = sizeof info;
  return static_cast<ATOM>(GetClassInfoExA(GetModuleHandleA(nullptr), name, &info));
}

TEST(ShowForm, RegistersTheFormClassOnceAcrossShows) {
  EXPECT_EQ(FormClassName(kShowForm), "FORM_SKYPLATE_TEST_SHOW_CLASS");
  const std::string name = FormClassName(kShowForm);

  const INT_PTR first = ShowForm(kShowForm, nullptr, 0, 0);
  ASSERT_NE(first, -1);
  HWND window = reinterpret_cast<HWND>(first);
  EXPECT_EQ(g_form, window);
  const ATOM atom = static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM));
  CloseForm(window, 0);
  EXPECT_EQ(g_form, nullptr);

  WNDCLASSEXA info = {};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), name.c_str(), &info));
  EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
  EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  EXPECT_EQ(info.cbWndExtra, 0);

  const INT_PTR second = ShowForm(kShowForm, nullptr, 0, 0);
  ASSERT_NE(second, -1);
  EXPECT_EQ(static_cast<ATOM>(GetClassLongPtrA(reinterpret_cast<HWND>(second), GCW_ATOM)), atom);
  EXPECT_EQ(ClassAtom(name.c_str()), atom);
  CloseForm(reinterpret_cast<HWND>(second), 0);
}

TEST(ShowForm, ModalShowReturnsTheCloseFormResultOnceThenZero) {
  g_watchedOwner = nullptr;
  g_closeResult = 7;
  SetTimer(nullptr, 0, 10, CloseWithResult);
  EXPECT_EQ(ShowForm(kShowForm, nullptr, 1, 0), 7);
  EXPECT_EQ(ModalResult, 0);

  // Closed through the close box this time: nobody sets a result.
  SetTimer(nullptr, 0, 10, PressCloseBox);
  EXPECT_EQ(ShowForm(kShowForm, nullptr, 1, 0), 0);
  EXPECT_EQ(g_form, nullptr);
}

TEST(ShowForm, RefusedCreationGivesMinusOneAndLeavesModalResult) {
  ModalResult = 3;
  EXPECT_EQ(ShowForm(kRefusedForm, nullptr, 1, 0), -1);
  EXPECT_EQ(ShowForm(kRefusedForm, nullptr, 0, 0), -1);
  EXPECT_EQ(g_form, nullptr);
  EXPECT_EQ(ModalResult, 3);
  ModalResult = 0;
}

TEST(ShowForm, CloseFormOfAGoneWindowLeavesModalResult) {
  const INT_PTR shown = ShowForm(kShowForm, nullptr, 0, 0);
  ASSERT_NE(shown, -1);
  HWND window = reinterpret_cast<HWND>(shown);
  CloseForm(window, 4);
  EXPECT_EQ(ModalResult, 4);
  CloseForm(window, 9);
  EXPECT_EQ(ModalResult, 4);
  ModalResult = 0;
}

class ModalOwner : public testing::Test {
 protected:
  void SetUp() override {
    top_ = test::CreatePlainWindow("Owner");
    ASSERT_NE(top_, nullptr);
    child_ = test::CreatePlainWindow("", WS_CHILD | WS_VISIBLE, top_, 1);
    ASSERT_NE(child_, nullptr);
    g_watchedOwner = top_;
    g_ownerEnabledDuringLoop = TRUE;
    g_ownerEnabledAtDestroy = FALSE;
    g_closeResult = 1;
  }
  void TearDown() override { DestroyWindow(top_); }

  void ExpectOwnerReleased() {
    EXPECT_FALSE(g_ownerEnabledDuringLoop) << "the top-level owner is disabled while modal";
    EXPECT_TRUE(g_ownerEnabledAtDestroy) << "the owner is enabled before the form goes";
    EXPECT_TRUE(IsWindowEnabled(top_));
    EXPECT_TRUE(IsWindowEnabled(child_));
    EXPECT_EQ(GetActiveWindow(), top_);
  }

  HWND top_ = nullptr;
  HWND child_ = nullptr;
};

TEST_F(ModalOwner, ChildOwnerDisablesItsTopLevelWindowUntilCloseForm) {
  SetTimer(nullptr, 0, 10, CloseWithResult);
  EXPECT_EQ(ShowForm(kShowForm, child_, 1, 0), 1);
  ExpectOwnerReleased();
}

TEST_F(ModalOwner, CloseBoxReleasesTheOwnerToo) {
  SetTimer(nullptr, 0, 10, PressCloseBox);
  EXPECT_EQ(ShowForm(kShowForm, top_, 1, 0), 0);
  ExpectOwnerReleased();
}

TEST(FindFormWindow, ClimbsFromAControlToItsForm) {
  EXPECT_EQ(FindFormWindow(nullptr), nullptr);
  HWND top = test::CreatePlainWindow("Top");
  HWND inner = test::CreatePlainWindow("", WS_CHILD, top, 1);
  HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 10, 10, inner, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(FindFormWindow(button), top);
  EXPECT_EQ(FindFormWindow(top), top);
  DestroyWindow(top);
}

}  // namespace
}  // namespace skyplate
