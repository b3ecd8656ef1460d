// A front end for benchmarks: silent but for the display, and timing the
// build's calls into it.
#pragma once

#include <windows.h>

#include <chrono>

#include "topdown/display_window_win32.h"
#include "topdown/silent_front_end.h"

namespace skyplate {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

// Everything but the display is silent; with_display chooses between a real
// window, placed as the program places it, and none at all.
class TimedDisplayFrontEnd final : public SilentFrontEnd {
 public:
  explicit TimedDisplayFrontEnd(bool with_display) : with_display_(with_display) {}
  ~TimedDisplayFrontEnd() override {
    // The program leaves its windows open; here an open window's polling
    // thread would weigh on the builds that follow. Sent, not posted, so
    // that the closing is over before the next build starts.
    if (display_ != nullptr) SendMessageA(display_, WM_CLOSE, 0, 0);
  }

  void OpenDisplay(std::int32_t client_width, std::int32_t client_height) override {
    const auto start = Clock::now();
    if (with_display_) {
      display_ = OpenDisplayWindow("Topdown", 256, 100, client_width, client_height);
    }
    opening_ += Clock::now() - start;
  }
  void RefreshDisplay(const Bitmap& picture, std::int32_t first_column,
                      std::int32_t last_column) override {
    const auto start = Clock::now();
    if (with_display_) ::skyplate::RefreshDisplay(display_, picture, first_column, last_column);
    refreshing_ += Clock::now() - start;
  }
  bool opened() const { return display_ != nullptr; }
  // Time the build spent in the display's hooks.
  Seconds opening() const { return opening_; }
  Seconds refreshing() const { return refreshing_; }

 private:
  bool with_display_;
  HWND display_ = nullptr;
  Seconds opening_{};
  Seconds refreshing_{};
};

}  // namespace skyplate
