#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include "topdown/display_window_win32.h"
#include "topdown/drawing_lock.h"

namespace skyplate {
namespace {

constexpr DWORD kTopdownStyle = WS_POPUP | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX | WS_CAPTION;

HWND CanvasOf(HWND frame) {
  return GetDlgItem(frame, 0);
}

SIZE ClientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

void Close(HWND frame) {
  SendMessageA(frame, WM_CLOSE, 0, 0);
}

// The colour the canvas shows at (x, y), as painted on request into a memory
// picture of our own.
COLORREF ShownColour(HWND canvas, int x, int y) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  PrintWindow(canvas, memory, PW_CLIENTONLY);
  const COLORREF colour = GetPixel(memory, x, y);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return colour;
}

bool EventuallyShows(HWND canvas, int x, int y, COLORREF expected) {
  for (int tries = 0; tries < 200; ++tries) {
    if (ShownColour(canvas, x, y) == expected) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

TEST(DisplayWindow, FramesTheClientAreaAtTheGivenCorner) {
  HWND frame = OpenDisplayWindow("Topdown", 256, 100, 333, 334);
  ASSERT_NE(frame, nullptr);
  RECT outer;
  GetWindowRect(frame, &outer);
  EXPECT_EQ(outer.left, 256);
  EXPECT_EQ(outer.top, 100);
  EXPECT_EQ(ClientSize(frame).cx, 333);
  EXPECT_EQ(ClientSize(frame).cy, 334);
  EXPECT_GT(outer.bottom - outer.top, 334);  // a title bar and borders outside

  char caption[32] = "";
  GetWindowTextA(frame, caption, sizeof(caption));
  EXPECT_STREQ(caption, "Topdown");
  EXPECT_EQ(
      static_cast<DWORD>(GetWindowLongPtrA(frame, GWL_STYLE)) & ~(WS_VISIBLE | WS_CLIPSIBLINGS),
      kTopdownStyle);
  EXPECT_NE(GetWindowLongPtrA(frame, GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(GetWindowLongPtrA(frame, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
  EXPECT_EQ(GetMenu(frame), nullptr);
  EXPECT_EQ(GetWindow(frame, GW_OWNER), nullptr);
  EXPECT_NE(GetWindowThreadProcessId(frame, nullptr), GetCurrentThreadId());

  HWND canvas = CanvasOf(frame);
  ASSERT_NE(canvas, nullptr);
  char class_name[32] = "";
  GetClassNameA(canvas, class_name, sizeof(class_name));
  EXPECT_STREQ(class_name, "Static");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(canvas, GWL_STYLE)),
            WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_OWNERDRAW);
  EXPECT_EQ(ClientSize(canvas).cx, 333);
  EXPECT_EQ(ClientSize(canvas).cy, 334);
  Close(frame);
}

TEST(DisplayWindow, TinyAndEmptyClientAreasComeOutExactly) {
  HWND thin = OpenDisplayWindow("Topdown", 256, 100, 1, 0);  // a 2 x 1 picture
  HWND empty = OpenDisplayWindow("Topdown", 256, 100, 0, 0);
  ASSERT_NE(thin, nullptr);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(ClientSize(thin).cx, 1);
  EXPECT_EQ(ClientSize(thin).cy, 0);
  EXPECT_EQ(ClientSize(empty).cx, 0);
  EXPECT_EQ(ClientSize(empty).cy, 0);
  // Refreshes have nothing to copy into and must not fail.
  RefreshDisplay(thin, Bitmap::Blank(2, 1, MakeColour(9, 9, 9)), 0, 1);
  RefreshDisplay(empty, Bitmap{}, 0, 0);
  Close(thin);
  Close(empty);
}

TEST(DisplayWindow, EmptyCaptionGivesNoTitleBar) {
  HWND frame = OpenDisplayWindow("", 10, 10, 20, 20);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(GetWindowLongPtrA(frame, GWL_STYLE) & WS_CAPTION, WS_BORDER);
  EXPECT_EQ(ClientSize(frame).cx, 20);
  Close(frame);
}

TEST(DisplayWindow, StartsInButtonFaceAndShowsRefreshedColumns) {
  HWND frame = OpenDisplayWindow("Topdown", 256, 100, 10, 10);
  ASSERT_NE(frame, nullptr);
  HWND canvas = CanvasOf(frame);
  EXPECT_TRUE(EventuallyShows(canvas, 5, 5, GetSysColor(COLOR_BTNFACE)));

  Bitmap picture = Bitmap::Blank(30, 30, MakeColour(10, 200, 30));
  RefreshDisplay(frame, picture, 0, 2);  // reaches only the first display column
  EXPECT_TRUE(EventuallyShows(canvas, 0, 9, RGB(10, 200, 30)));
  EXPECT_EQ(ShownColour(canvas, 1, 0), GetSysColor(COLOR_BTNFACE));

  RefreshDisplay(frame, picture, 3, 29);
  EXPECT_TRUE(EventuallyShows(canvas, 9, 9, RGB(10, 200, 30)));
  Close(frame);
}

TEST(DisplayWindow, ClosedMidBuildLaterRefreshesDoNothing) {
  HWND frame = OpenDisplayWindow("Topdown", 256, 100, 20, 20);
  ASSERT_NE(frame, nullptr);
  Bitmap picture = Bitmap::Blank(60, 60, MakeColour(1, 2, 3));
  RefreshDisplay(frame, picture, 0, 0);
  Close(frame);
  EXPECT_FALSE(IsWindow(frame));
  for (std::int32_t column = 16; column < 60; column += 16) {
    RefreshDisplay(frame, picture, column - 15, column);
  }
  RefreshDisplay(nullptr, picture, 0, 59);
}

// Holds a display window's thread still, at a moment it does not hold the
// drawing lock, for as long as it lives.
class StalledDisplayThread {
 public:
  explicit StalledDisplayThread(HWND frame)
      : thread_(
            OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(frame, nullptr))) {
    for (;;) {
      SuspendThread(thread_);
      if (TheDrawingLock().TryTake()) {
        TheDrawingLock().Release();
        return;
      }
      ResumeThread(thread_);
      Sleep(1);
    }
  }
  ~StalledDisplayThread() {
    ResumeThread(thread_);
    CloseHandle(thread_);
  }

 private:
  HANDLE thread_;
};

TEST(DisplayWindow, RefreshesDoNotWaitForTheDisplayThread) {
  HWND frame = OpenDisplayWindow("Topdown", 256, 100, 30, 30);
  ASSERT_NE(frame, nullptr);
  const Bitmap picture = Bitmap::Blank(90, 90, MakeColour(40, 50, 60));
  std::atomic<bool> done{false};
  auto stalled = std::make_optional<StalledDisplayThread>(frame);
  // More refreshes than it takes to force a repaint, the last reaching the
  // picture's last column, all while the display thread cannot answer.
  std::thread build([&] {
    for (int i = 0; i < 300; ++i) RefreshDisplay(frame, picture, i % 89, i % 89);
    RefreshDisplay(frame, picture, 0, 89);
    done = true;
  });
  for (int waited = 0; waited < 5000 && !done; waited += 10) Sleep(10);
  EXPECT_TRUE(done) << "the build waits for the display thread";
  stalled.reset();
  build.join();
  EXPECT_TRUE(EventuallyShows(CanvasOf(frame), 29, 29, RGB(40, 50, 60)));
  Close(frame);
}

TEST(DisplayWindow, EachOpeningMakesAnotherWindowAtTheSamePlace) {
  HWND first = OpenDisplayWindow("Topdown", 256, 100, 50, 40);
  HWND second = OpenDisplayWindow("Topdown", 256, 100, 50, 40);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_TRUE(IsWindowVisible(first));
  EXPECT_TRUE(IsWindowVisible(second));
  RECT a, b;
  GetWindowRect(first, &a);
  GetWindowRect(second, &b);
  EXPECT_TRUE(EqualRect(&a, &b));
  Close(first);
  EXPECT_TRUE(IsWindow(second));
  Close(second);
}

}  // namespace
}  // namespace skyplate
