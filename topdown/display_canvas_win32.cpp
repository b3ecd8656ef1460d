#include "topdown/display_canvas_win32.h"

#include <algorithm>
#include <thread>

#include "topdown/drawing_lock.h"

namespace skyplate {
namespace {

// A repaint is forced after this many drawings even when the display thread
// keeps finding the lock free but has not yet shown them.
constexpr int kDrawingsBeforeForcedRepaint = 250;

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

DisplayCanvas::DisplayCanvas(HWND control, std::int32_t width, std::int32_t height)
    : control_(control) {
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

void DisplayCanvas::Draw(const Bitmap& picture, std::int32_t first_column,
                         std::int32_t last_column) {
  DrawingLock& lock = TheDrawingLock();
  lock.Take();
  dirty_ = Union(dirty_, ScaleColumnsIntoPreview(picture, first_column, last_column, pixels_));
  changed_ = true;
  ++drawings_;
  if (repaint_now_.exchange(false) || drawings_ >= kDrawingsBeforeForcedRepaint) {
    std::this_thread::yield();
    RepaintDirtyColumns();
    drawings_ = 0;
  }
  lock.Release();
}

void DisplayCanvas::RepaintIfChanged() {
  DrawingLock& lock = TheDrawingLock();
  if (!lock.TryTake()) {
    repaint_now_ = true;
    return;
  }
  if (changed_ || exposed_) RepaintDirtyColumns();
  lock.Release();
}

void DisplayCanvas::RepaintDirtyColumns() {
  if (exposed_.exchange(false)) dirty_ = {0, pixels_.width - 1};
  if (!dirty_.empty()) {
    const RECT columns{dirty_.first, 0, dirty_.last + 1, pixels_.height};
    // When the build thread repaints, this waits for the display thread to
    // paint, which it does without waiting for the lock.
    repainting_under_lock_ = true;
    InvalidateRect(control_, &columns, FALSE);
    UpdateWindow(control_);
    repainting_under_lock_ = false;
  }
  dirty_ = {};
  changed_ = false;
}

void DisplayCanvas::Paint(const DRAWITEMSTRUCT& item) {
  if (item.itemAction != ODA_DRAWENTIRE) return;
  if (repainting_under_lock_) {
    CopyTo(item.hDC);
    return;
  }
  // A paint of the system's own (uncovering, restoring) must not read the
  // picture while a build draws into it; the build's next repaint covers it.
  DrawingLock& lock = TheDrawingLock();
  if (!lock.TryTake()) {
    exposed_ = true;
    return;
  }
  CopyTo(item.hDC);
  lock.Release();
}

void DisplayCanvas::CopyTo(HDC target) const {
  if (picture_ == nullptr) return;
  RECT clip;
  if (GetClipBox(target, &clip) == ERROR) return;
  HDC source = CreateCompatibleDC(target);
  HGDIOBJ previous = SelectObject(source, picture_);
  BitBlt(target, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, source,
         clip.left, clip.top, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
}

}  // namespace skyplate
