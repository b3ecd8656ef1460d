// The colours controls paint with: WM_CTLCOLOR* answers, real painting and
// the refresh after a system colour change.
#include <gtest/gtest.h>

#include "forms/forms.h"
#include "tests/forms/form_test_support.h"

namespace skyplate {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

HWND g_form;
HWND g_sysEdit;     // system colours 8 on 5
HWND g_rgbEdit;     // red on yellow, brush made by the runtime
HWND g_label;       // static, system colours 8 on 15
HWND g_plainEdit;   // attached without custom colours
HWND g_loneEdit;    // never attached
HBRUSH g_ownBrush;  // handed in by the caller

void CreateColourControls(HWND form) {
  constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
  g_sysEdit =
      CreateFormControl(form, {WS_EX_CLIENTEDGE, "Edit", "sys", kEdit, 10, 10, 200, 24, 1000},
                        {.customColors = true,
                         .textIsSysColor = true,
                         .backIsSysColor = true,
                         .textColor = COLOR_WINDOWTEXT,
                         .backColor = COLOR_WINDOW,
                         .brush = g_ownBrush});
  g_rgbEdit = CreateFormControl(form, {0, "Edit", "", kEdit, 10, 40, 200, 24, 1001},
                                {.customColors = true, .textColor = kRed, .backColor = kYellow});
  g_label =
      CreateFormControl(form, {0, "Static", "label", WS_CHILD | WS_VISIBLE, 10, 70, 200, 20, 1002},
                        {.customColors = true,
                         .textIsSysColor = true,
                         .backIsSysColor = true,
                         .textColor = COLOR_WINDOWTEXT,
                         .backColor = COLOR_BTNFACE});
  g_plainEdit = CreateFormControl(form, {0, "Edit", "", kEdit, 10, 100, 200, 24, 1003}, {});
  g_loneEdit = CreateWindowExA(0, "Edit", "", kEdit, 10, 130, 200, 24, form, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
}

const FormDescription kColourForm = {.programName = "Skyplate",
                                     .formName = "TEST_COLOURS",
                                     .caption = "Colours",
                                     .style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                                     .width = 300,
                                     .height = 220,
                                     .handle = &g_form,
                                     .createControls = CreateColourControls};

struct Painted {
  HBRUSH brush;
  COLORREF text, back;
  int mode;
};

class ControlColour : public testing::Test {
 protected:
  void SetUp() override {
    g_ownBrush = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_NE(ShowForm(kColourForm, nullptr, 0, 0), -1);
    dc_ = CreateCompatibleDC(nullptr);
  }
  void TearDown() override {
    DeleteDC(dc_);
    CloseForm(g_form, 0);
    DeleteObject(g_ownBrush);
  }

  Painted Ask(UINT message, HWND control) {
    SetTextColor(dc_, RGB(9, 9, 9));
    SetBkColor(dc_, RGB(8, 8, 8));
    SetBkMode(dc_, OPAQUE);
    LRESULT r = SendMessageA(g_form, message, reinterpret_cast<WPARAM>(dc_),
                             reinterpret_cast<LPARAM>(control));
    return {reinterpret_cast<HBRUSH>(r), GetTextColor(dc_), GetBkColor(dc_), GetBkMode(dc_)};
  }

  HDC dc_ = nullptr;
};

TEST_F(ControlColour, EditWithSystemColoursPaintsOpaqueInThem) {
  const Painted p = Ask(WM_CTLCOLOREDIT, g_sysEdit);
  EXPECT_EQ(p.brush, g_ownBrush);
  EXPECT_EQ(p.text, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(p.back, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(p.mode, OPAQUE);
}

TEST_F(ControlColour, DisabledEditPaintsOnButtonFace) {
  EnableWindow(g_sysEdit, FALSE);
  // A disabled edit asks with WM_CTLCOLORSTATIC.
  const Painted p = Ask(WM_CTLCOLORSTATIC, g_sysEdit);
  EXPECT_EQ(p.brush, GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(p.back, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(p.text, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(p.mode, OPAQUE);
}

TEST_F(ControlColour, StaticPaintsItsTextTransparently) {
  const Painted p = Ask(WM_CTLCOLORSTATIC, g_label);
  EXPECT_EQ(p.brush, GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(p.text, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(p.mode, TRANSPARENT);
}

TEST_F(ControlColour, ControlsWithoutCustomColoursKeepThePlatformColours) {
  SetFocus(g_rgbEdit);  // a control with custom colours has the focus
  for (HWND control : {g_plainEdit, g_loneEdit}) {
    const Painted p = Ask(WM_CTLCOLOREDIT, control);
    EXPECT_NE(p.text, kRed);
    EXPECT_NE(p.back, kYellow);
  }
}

TEST_F(ControlColour, EditPaintsItsRgbColours) {
  HDC memory = CreateCompatibleDC(nullptr);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 24);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  ASSERT_TRUE(PrintWindow(g_rgbEdit, memory, PW_CLIENTONLY));
  EXPECT_EQ(GetPixel(memory, 150, 10), kYellow);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

TEST_F(ControlColour, SystemColourChangeTakesFreshSystemBrushes) {
  const HBRUSH madeForRgb = GetFormData(g_rgbEdit)->BackBrush;
  SendMessageA(g_form, WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(GetFormData(g_sysEdit)->BackBrush, GetSysColorBrush(COLOR_WINDOW));
  EXPECT_EQ(GetObjectType(g_ownBrush), static_cast<DWORD>(OBJ_BRUSH))
      << "the caller's brush lives on";
  EXPECT_EQ(GetFormData(g_rgbEdit)->BackBrush, madeForRgb) << "RGB colours need no refresh";

  const int element = COLOR_WINDOW;
  const COLORREF before = GetSysColor(COLOR_WINDOW);
  const COLORREF changed = RGB(10, 20, 30);
  ASSERT_TRUE(SetSysColors(1, &element, &changed));
  SendMessageA(g_form, WM_SYSCOLORCHANGE, 0, 0);
  const Painted p = Ask(WM_CTLCOLOREDIT, g_sysEdit);
  const HBRUSH changedBrush = GetSysColorBrush(COLOR_WINDOW);
  SetSysColors(1, &element, &before);
  EXPECT_EQ(p.back, changed);
  EXPECT_EQ(p.brush, changedBrush);
}

}  // namespace
}  // namespace skyplate
