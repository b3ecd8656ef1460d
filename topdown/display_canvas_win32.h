// The canvas of a display window: its off-screen picture and the flags that
// decide when the display thread shows what a build thread drew into it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "topdown/bitmap.h"
#include "topdown/preview_scaling.h"

namespace skyplate {

class DisplayCanvas {
 public:
  // `control` is the owner-drawn child that shows the picture; the picture
  // starts filled with the button face colour.
  DisplayCanvas(HWND control, std::int32_t width, std::int32_t height);
  ~DisplayCanvas();
  DisplayCanvas(const DisplayCanvas&) = delete;
  DisplayCanvas& operator=(const DisplayCanvas&) = delete;

  // Build thread: scales the changed columns of `picture` into the
  // off-screen picture, waiting for the drawing lock.
  void Draw(const Bitmap& picture, std::int32_t first_column, std::int32_t last_column);
  // Display thread, once per idle turn: shows what was drawn, if the drawing
  // lock is free; otherwise asks the next drawing to show it at once.
  void RepaintIfChanged();
  // Display thread: answers the control's owner-draw request.
  void Paint(const DRAWITEMSTRUCT& item);

 private:
  void RepaintDirtyColumns();  // drawing lock held
  void CopyTo(HDC target) const;

  HWND control_;
  HBITMAP picture_ = nullptr;
  PreviewPixels pixels_;
  // Under the drawing lock.
  bool changed_ = false;
  int drawings_ = 0;
  ColumnRange dirty_;
  // Between the threads without the lock.
  std::atomic<bool> repaint_now_{false};
  std::atomic<bool> exposed_{false};                // a paint found the lock taken
  std::atomic<bool> repainting_under_lock_{false};  // the lock's holder asked for this paint
};

}  // namespace skyplate
