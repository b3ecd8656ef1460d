#include "topdown/display_canvas_win32.h"

#include <algorithm>
#include <utility>

#include "topdown/drawing_lock.h"

namespace skyplate {
namespace {

// A drawing asks for an immediate repaint after this many drawings even when
// the display thread keeps finding the lock free but has not yet shown them.
constexpr int kDrawingsBeforeForcedRepaint = 250;

// A screen shows at most about a hundred pictures a second; drawing more
// often costs the build and shows nothing more.
constexpr std::chrono::milliseconds kShortestDrawingInterval{10};

std::uint32_t ScreenColour(COLORREF colour) {
  return static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
         static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
}

ColumnRange Union(const ColumnRange& a, const ColumnRange& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return {std::min(a.first, b.first), std::max(a.last, b.last)};
}

}  // namespace

DisplayCanvas::DisplayCanvas(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top first, as the pictures hold them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  picture_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (picture_ == nullptr) return;
  pixels_ = {width, height, static_cast<std::uint32_t*>(bits)};
  std::fill_n(pixels_.pixels, static_cast<std::size_t>(width) * height,
              ScreenColour(GetSysColor(COLOR_BTNFACE)));
}

DisplayCanvas::~DisplayCanvas() {
  if (picture_ != nullptr) DeleteObject(picture_);
}

void DisplayCanvas::Attach(HWND frame, HWND control) {
  frame_ = frame;
  control_ = control;
}

void DisplayCanvas::Draw(const Bitmap& picture, std::int32_t first_column,
                         std::int32_t last_column) {
  const auto now = std::chrono::steady_clock::now();
  DrawingLock& lock = TheDrawingLock();
  lock.Take();
  waiting_ = Union(waiting_, {first_column, last_column});
  // Columns wait while the display has not yet shown the last drawing, or
  // one was made a moment ago: they could not be seen any sooner, and
  // drawing more columns at a time costs less. The refresh that reaches the
  // last column draws in any case.
  const bool too_soon = changed_ || now - last_drawing_ < kShortestDrawingInterval;
  if (too_soon && last_column < picture.width - 1) {
    lock.Release();
    return;
  }
  last_drawing_ = now;
  dirty_ = Union(dirty_, ScaleColumnsIntoPreview(picture, waiting_.first, waiting_.last, pixels_));
  waiting_ = {};
  changed_ = true;
  ++drawings_;
  const bool show_now = repaint_now_.exchange(false) || drawings_ >= kDrawingsBeforeForcedRepaint;
  if (show_now) drawings_ = 0;
  lock.Release();
  // Painting from here would make this thread wait for the display thread,
  // whose window it is; the display thread paints as soon as it reads this.
  if (show_now) PostMessageA(frame_, kShowDrawingsMessage, 0, 0);
}

void DisplayCanvas::RepaintIfChanged() {
  DrawingLock& lock = TheDrawingLock();
  if (!lock.TryTake()) {
    repaint_now_ = true;
    return;
  }
  const ColumnRange drawn = changed_ ? dirty_ : ColumnRange{};
  dirty_ = {};
  changed_ = false;
  lock.Release();
  // The paint takes the lock again, only while it copies: the window
  // system's own work happens with the lock free.
  const ColumnRange columns = Union(drawn, std::exchange(unpainted_, {}));
  if (columns.empty()) return;
  const RECT area{columns.first, 0, columns.last + 1, pixels_.height};
  InvalidateRect(control_, &area, FALSE);
  UpdateWindow(control_);
}

void DisplayCanvas::Paint(const DRAWITEMSTRUCT& item) {
  if (item.itemAction != ODA_DRAWENTIRE || picture_ == nullptr) return;
  RECT clip;
  if (GetClipBox(item.hDC, &clip) == ERROR || IsRectEmpty(&clip)) return;
  DrawingLock& lock = TheDrawingLock();
  if (!lock.TryTake()) {
    // A build is drawing; these columns are painted at the next idle turn.
    unpainted_ = Union(unpainted_, {clip.left, clip.right - 1});
    return;
  }
  HDC source = CreateCompatibleDC(item.hDC);
  HGDIOBJ previous = SelectObject(source, picture_);
  BitBlt(item.hDC, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, source,
         clip.left, clip.top, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
  lock.Release();
}

}  // namespace skyplate
