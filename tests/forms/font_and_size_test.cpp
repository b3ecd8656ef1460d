// Fonts from font spec strings, and sizing a window by its client area.
#include <gtest/gtest.h>

#include "forms/forms.h"
#include "tests/forms/form_test_support.h"

namespace skyplate {
namespace {

constexpr char kProgramFont[] = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";

LOGFONTA Describe(HFONT font) {
  LOGFONTA description = {};
  GetObjectA(font, sizeof description, &description);
  return description;
}

int ScreenDotsPerInch() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

TEST(FontFromSpec, ProgramFontIsElevenPixelsNormalWeightAndShared) {
  HFONT font = FontFromSpec(kProgramFont);
  ASSERT_NE(font, nullptr);
  const LOGFONTA d = Describe(font);
  EXPECT_EQ(d.lfHeight, -11);
  EXPECT_EQ(d.lfWeight, 400);
  EXPECT_EQ(d.lfItalic, 0);
  EXPECT_EQ(d.lfUnderline, 0);
  EXPECT_STREQ(d.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(FontFromSpec(kProgramFont), font);
}

TEST(FontFromSpec, PointSizeTruncatesToPixels) {
  if (ScreenDotsPerInch() != 96) GTEST_SKIP() << "needs a 96 dpi screen";
  HFONT font = FontFromSpec("MS Sans Serif,8,0,0,0,700,1,1,1,0,1,2,1,34");
  ASSERT_NE(font, nullptr);
  const LOGFONTA d = Describe(font);
  EXPECT_EQ(d.lfHeight, -10);  // 8 * 96 / 72 = 10.67
  EXPECT_EQ(d.lfWeight, 700);
  EXPECT_EQ(d.lfItalic, 1);
  EXPECT_EQ(d.lfUnderline, 1);
  EXPECT_EQ(d.lfStrikeOut, 1);
}

TEST(FontFromSpec, EmptyFaceGivesNoFontAndLeavesTheControlsFont) {
  EXPECT_EQ(FontFromSpec(",-11,0,0,0,400,0,0,0,0,1,2,1,34"), nullptr);
  EXPECT_EQ(FontFromSpec(""), nullptr);
  EXPECT_EQ(CreateFontFromFields("", 8, 400, 0, 0, 0), nullptr);

  HWND window = test::CreatePlainWindow("Font");
  HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD, 0, 0, 50, 20, window, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  const LRESULT before = SendMessageA(edit, WM_GETFONT, 0, 0);
  FormData* data = AttachControl(edit, {.fontSpec = ",-11"});
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->Font, nullptr);
  EXPECT_EQ(SendMessageA(edit, WM_GETFONT, 0, 0), before);
  DestroyWindow(window);
}

TEST(SetClientSize, GivesTheClientAreaBelowTheMenu) {
  HWND window = test::CreatePlainWindow("Sized", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 6001, "&File");
  SetMenu(window, bar);
  DrawMenuBar(window);

  SetClientSize(window, 719, 116);
  RECT client = {};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 719);
  EXPECT_EQ(client.bottom, 116);

  RECT outer = {};
  GetWindowRect(window, &outer);
  SetClientSize(window, 0, 50);
  SetClientSize(window, 50, 0);
  RECT unchanged = {};
  GetWindowRect(window, &unchanged);
  EXPECT_TRUE(EqualRect(&outer, &unchanged));
  DestroyWindow(window);
}

}  // namespace
}  // namespace skyplate
