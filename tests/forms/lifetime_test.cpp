// Tags, and everything the runtime hangs on windows freed when they go.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/forms.h"
#include "tests/forms/form_test_support.h"

namespace skyplate {
namespace {

const char* TagText(HWND window, const char* property) {
  return static_cast<const char*>(GetPropA(window, property));
}

TEST(Tags, ReplacingATagFreesThePreviousBlock) {
  HWND window = test::CreatePlainWindow("Tags");
  SetTag(window, "");
  ASSERT_NE(GetPropA(window, kTagProperty), nullptr);
  EXPECT_EQ(HeapSize(GetProcessHeap(), 0, GetPropA(window, kTagProperty)), SIZE_T{1});

  SetTag2(window, "second");
  EXPECT_STREQ(TagText(window, kTag2Property), "second");
  EXPECT_STREQ(TagText(window, kTagProperty), "");

  const std::string big(1000, 'x');
  SetTag(window, big.c_str());
  const SIZE_T before = test::ProcessHeapBusyBytes();
  for (int i = 0; i < 200; ++i) SetTag(window, big.c_str());
  EXPECT_LT(test::ProcessHeapBusyBytes(), before + 2000) << "200 replaced tags leaked";
  EXPECT_EQ(TagText(window, kTagProperty), big);

  DestroyWindow(window);
  SetTag(window, "gone");  // nothing happens for a window that no longer exists
  EXPECT_EQ(GetControlText(window), "");
}

HWND g_form;
bool g_refuse;
std::vector<std::string> g_leftAtDestroy;  // "FLY_" properties seen after WM_DESTROY
HHOOK g_hook;

LRESULT CALLBACK AfterWindowProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && (call->message == WM_DESTROY || call->message == WM_NCDESTROY)) {
    const std::string left = test::RuntimePropertiesOf(call->hwnd);
    if (!left.empty()) g_leftAtDestroy.push_back(left);
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

void CreateLifetimeControls(HWND form) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  CreateFormControl(form, {0, "Edit", "e", kChild, 0, 0, 50, 20, 1000},
                    {.fontSpec = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34",
                     .customColors = true,
                     .textColor = RGB(1, 1, 1),
                     .backColor = RGB(2, 2, 2)});
  CreateFormControl(form, {0, "Button", "b", kChild, 0, 30, 50, 20, 1001}, {});
  // Attached without the subclass procedure: the form frees its data.
  CreateFormControl(form, {0, "Static", "s", kChild, 0, 60, 50, 20, 1002}, {.subclass = false});
}

LRESULT RefuseWhenAsked(HWND, LPARAM) {
  return g_refuse ? -1 : 0;
}

const FormDescription kLifetimeForm = {.programName = "Skyplate",
                                       .formName = "TEST_LIFETIME",
                                       .caption = "Lifetime",
                                       .style = WS_POPUP | WS_VISIBLE | WS_CAPTION,
                                       .width = 200,
                                       .height = 150,
                                       .handle = &g_form,
                                       .createControls = CreateLifetimeControls,
                                       .onLoad = RefuseWhenAsked};

void ShowAndClose() {
  const INT_PTR shown = ShowForm(kLifetimeForm, nullptr, 0, 0);
  if (shown != -1) CloseForm(reinterpret_cast<HWND>(shown), 0);
}

TEST(FormLifetime, DestroyLeavesNoRuntimePropertyAndNoHeapBlock) {
  g_refuse = false;
  ShowAndClose();  // the class, the font cache and Wine's own first-use blocks
  g_leftAtDestroy.clear();
  g_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterWindowProc, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_hook, nullptr);
  const SIZE_T before = test::ProcessHeapBusyBytes();
  for (int i = 0; i < 20; ++i) ShowAndClose();
  const SIZE_T after = test::ProcessHeapBusyBytes();
  UnhookWindowsHookEx(g_hook);
  EXPECT_TRUE(g_leftAtDestroy.empty()) << g_leftAtDestroy.front();
  EXPECT_LT(after, before + 20 * sizeof(FormData)) << "20 shows leaked";
  EXPECT_EQ(g_form, nullptr);
}

TEST(FormLifetime, RefusedFormFreesWhatItsCreationMade) {
  g_refuse = true;
  ShowAndClose();
  const SIZE_T before = test::ProcessHeapBusyBytes();
  for (int i = 0; i < 20; ++i) EXPECT_EQ(ShowForm(kLifetimeForm, nullptr, 1, 0), -1);
  EXPECT_LT(test::ProcessHeapBusyBytes(), before + 20 * sizeof(FormData)) << "20 refusals leaked";
  EXPECT_EQ(g_form, nullptr);
}

TEST(ControlAccess, AccessorsOfAGoneWindowDoNothing) {
  HWND window = test::CreatePlainWindow("Text");
  SetControlText(window, "Canceled");
  EXPECT_EQ(GetControlText(window), "Canceled");
  SetControlText(window, "");
  EXPECT_EQ(GetControlText(window), "");
  DestroyWindow(window);
  SetControlText(window, "x");
  EXPECT_EQ(GetControlText(window), "");
  EXPECT_EQ(ShowControl(window, SW_SHOWNORMAL), FALSE);
}

}  // namespace
}  // namespace skyplate
