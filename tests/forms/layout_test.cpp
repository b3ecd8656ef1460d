// Layout codes: the arithmetic, and controls following a resized form.
#include "forms/layout.h"

#include <gtest/gtest.h>

#include <cmath>

#include "forms/forms.h"
#include "tests/forms/form_test_support.h"

namespace skyplate {
namespace {

constexpr RECT kInitial = {10, 20, 110, 70};

// The four edges of a RECT or a LayoutRect; the expected values are exact.
template <typename Rect>
void ExpectRect(const Rect& r, double left, double top, double right, double bottom) {
  EXPECT_DOUBLE_EQ(static_cast<double>(r.left), left);
  EXPECT_DOUBLE_EQ(static_cast<double>(r.top), top);
  EXPECT_DOUBLE_EQ(static_cast<double>(r.right), right);
  EXPECT_DOUBLE_EQ(static_cast<double>(r.bottom), bottom);
}

TEST(ApplyLayoutCode, FixedEdgesFollowTheirShareOfTheChange) {
  // Parent 300 x 200 grows to 400 x 260.
  ExpectRect(ApplyLayoutCode("F0,F0,F100,F100", kInitial, 300, 200, 400, 260), 10, 20, 210, 130);
  ExpectRect(ApplyLayoutCode("fr,ft,fr,ft", kInitial, 300, 200, 400, 260), 110, 20, 210, 70);
  ExpectRect(ApplyLayoutCode("FL,FT,F50,FB", kInitial, 300, 200, 400, 260), 10, 20, 160, 130);
}

TEST(ApplyLayoutCode, ScaledEdgesGrowWithTheParent) {
  ExpectRect(ApplyLayoutCode("S,S,S,S", kInitial, 300, 200, 600, 100), 20, 10, 220, 35);
  // A parent recorded with no extent keeps the edges.
  ExpectRect(ApplyLayoutCode("S,S,S,S", kInitial, 0, 0, 600, 100), 10, 20, 110, 70);
}

TEST(ApplyLayoutCode, UnknownOrMissingFieldsGiveZero) {
  ExpectRect(ApplyLayoutCode("X,F0,F0", kInitial, 300, 200, 400, 260), 0, 20, 110, 0);
}

HWND g_form;
HWND g_stretched;
HWND g_pinned;
HWND g_scaled;
HWND g_still;

void CreateLayoutControls(HWND form) {
  constexpr DWORD kStatic = WS_CHILD | WS_VISIBLE;
  g_stretched = CreateFormControl(form, {0, "Static", "", kStatic, 10, 20, 100, 50, 1000},
                                  {.layoutCode = "F0,F0,F100,F100"});
  g_pinned = CreateFormControl(form, {0, "Static", "", kStatic, 10, 20, 100, 50, 1001},
                               {.layoutCode = "FR,FT,FR,FT"});
  g_scaled = CreateFormControl(form, {0, "Static", "", kStatic, 10, 20, 100, 50, 1002},
                               {.layoutCode = "S,S,S,S"});
  g_still = CreateFormControl(form, {0, "Static", "", kStatic, 10, 20, 100, 50, 1003}, {});
}

const FormDescription kLayoutForm = {
    .programName = "Skyplate",
    .formName = "TEST_LAYOUT",
    .caption = "Layout",
    .style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX,
    .width = 400,
    .height = 300,
    .handle = &g_form,
    .createControls = CreateLayoutControls};

RECT InParent(HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(FormLayout, ControlsFollowTheirCodesWhenTheFormIsResized) {
  ASSERT_NE(ShowForm(kLayoutForm, nullptr, 0, 0), -1);
  RECT before = {};
  GetClientRect(g_form, &before);
  SetClientSize(g_form, before.right + 100, before.bottom + 60);
  RECT after = {};
  GetClientRect(g_form, &after);
  ASSERT_EQ(after.right, before.right + 100);

  ExpectRect(InParent(g_stretched), 10, 20, 210, 130);
  ExpectRect(InParent(g_pinned), 110, 20, 210, 70);
  const LayoutRect scaled =
      ApplyLayoutCode("S,S,S,S", kInitial, before.right, before.bottom, after.right, after.bottom);
  EXPECT_EQ(InParent(g_scaled).left, static_cast<LONG>(std::nearbyint(scaled.left)));
  EXPECT_EQ(InParent(g_scaled).bottom - InParent(g_scaled).top,
            static_cast<LONG>(std::nearbyint(scaled.bottom - scaled.top)));
  ExpectRect(InParent(g_still), 10, 20, 110, 70);

  ShowWindow(g_form, SW_MINIMIZE);
  ShowWindow(g_form, SW_RESTORE);
  ExpectRect(InParent(g_stretched), 10, 20, 210, 130);
  ExpectRect(InParent(g_still), 10, 20, 110, 70);
  CloseForm(g_form, 0);
}

}  // namespace
}  // namespace skyplate
