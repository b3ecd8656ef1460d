// The canvas of a display window: its off-screen picture and the flags that
// decide when the display thread shows what a build thread drew into it.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>

#include "topdown/bitmap.h"
#include "topdown/preview_scaling.h"

namespace skyplate {

class DisplayCanvas {
 public:
  // Posted to the canvas's window by a drawing that wants itself shown at
  // once; the window answers with RepaintIfChanged.
  static constexpr UINT kShowDrawingsMessage = WM_APP + 1;

  // The picture starts filled with the button face colour.
  DisplayCanvas(std::int32_t width, std::int32_t height);
  ~DisplayCanvas();
  DisplayCanvas(const DisplayCanvas&) = delete;
  DisplayCanvas& operator=(const DisplayCanvas&) = delete;

  // Before the canvas is shared: the window it belongs to and the
  // owner-drawn child of that window that shows the picture.
  void Attach(HWND frame, HWND control);

  // Build thread: scales the changed columns of `picture` into the
  // off-screen picture, waiting for the drawing lock but never for the
  // display thread. While the display has not shown the last drawing, or
  // one was made a moment ago, the columns wait for a later call; a call
  // that reaches the picture's last column draws everything waiting.
  void Draw(const Bitmap& picture, std::int32_t first_column, std::int32_t last_column);
  // Display thread, once per idle turn and when asked: shows what was drawn,
  // if the drawing lock is free; otherwise asks the next drawing to have it
  // shown at once.
  void RepaintIfChanged();
  // Display thread: answers the control's owner-draw request.
  void Paint(const DRAWITEMSTRUCT& item);

 private:
  HWND frame_ = nullptr;
  HWND control_ = nullptr;
  HBITMAP picture_ = nullptr;
  PreviewPixels pixels_;
  // Under the drawing lock.
  ColumnRange waiting_;  // picture columns changed but not yet drawn
  std::chrono::steady_clock::time_point last_drawing_;
  bool changed_ = false;
  int drawings_ = 0;
  ColumnRange dirty_;
  // Set by the display thread without the lock.
  std::atomic<bool> repaint_now_{false};
  // Display thread only: columns a paint found the lock taken for.
  ColumnRange unpainted_;
};

}  // namespace skyplate
