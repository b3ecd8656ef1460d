#include "topdown/display_window_win32.h"

#include <atomic>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "topdown/display_canvas_win32.h"

namespace skyplate {
namespace {

constexpr char kDisplayClassName[] = "SKYPLATE_DISPLAY_WINDOW";
constexpr int kCanvasId = 0;
// What the opening thread's slot holds until the display thread has made its
// window or failed to.
const HWND kNotYetOpened = reinterpret_cast<HWND>(-1);

// The canvases of the open display windows. A build thread finds a window's
// canvas here and keeps it alive while it draws, even if the user closes the
// window meanwhile.
class CanvasDirectory {
 public:
  void Add(HWND frame, std::shared_ptr<DisplayCanvas> canvas) {
    std::lock_guard<std::mutex> guard(mutex_);
    canvases_[frame] = std::move(canvas);
  }
  void Remove(HWND frame) {
    std::lock_guard<std::mutex> guard(mutex_);
    canvases_.erase(frame);
  }
  std::shared_ptr<DisplayCanvas> Find(HWND frame) {
    std::lock_guard<std::mutex> guard(mutex_);
    const auto found = canvases_.find(frame);
    return found == canvases_.end() ? nullptr : found->second;
  }

 private:
  std::mutex mutex_;
  std::map<HWND, std::shared_ptr<DisplayCanvas>> canvases_;
};

CanvasDirectory& Canvases() {
  // Never destroyed: display threads outlive main() and may still paint and
  // close their windows while the process runs its exit handlers.
  static CanvasDirectory* const directory = new CanvasDirectory;
  return *directory;
}

DisplayCanvas* CanvasOf(HWND frame) {
  return reinterpret_cast<DisplayCanvas*>(GetWindowLongPtrA(frame, GWLP_USERDATA));
}

LRESULT CALLBACK DisplayWindowProc(HWND frame, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DRAWITEM:
      if (wparam == kCanvasId && CanvasOf(frame) != nullptr) {
        CanvasOf(frame)->Paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
      }
      break;
    case DisplayCanvas::kShowDrawingsMessage:
      if (CanvasOf(frame) != nullptr) CanvasOf(frame)->RepaintIfChanged();
      return 0;
    case WM_NCDESTROY:
      Canvases().Remove(frame);
      SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
      PostQuitMessage(0);
      break;
  }
  return DefWindowProcA(frame, message, wparam, lparam);
}

bool RegisterDisplayClass() {
  static std::once_flag once;
  static bool registered = false;
  std::call_once(once, [] {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = DisplayWindowProc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = kDisplayClassName;
    registered = RegisterClassExA(&window_class) != 0;
  });
  return registered;
}

struct Placement {
  std::string caption;
  std::int32_t left, top, client_width, client_height;
};

DWORD FrameStyle(const std::string& caption) {
  const DWORD style = WS_POPUP | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX;
  return caption.empty() ? style : style | WS_CAPTION;
}

// Creates the frame, sized from its style so that even a client area too
// small to hold the title bar comes out exactly as asked.
HWND CreateFrame(const Placement& place) {
  const DWORD style = FrameStyle(place.caption);
  RECT outer{0, 0, place.client_width, place.client_height};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  return CreateWindowExA(0, kDisplayClassName, place.caption.c_str(), style, place.left, place.top,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// Runs on the display thread: the window, then its polling loop until the
// window is destroyed. The canvas comes from the opening thread, which makes
// its off-screen picture while this thread makes the window.
void RunDisplay(Placement place, std::atomic<HWND>* opened,
                std::future<std::shared_ptr<DisplayCanvas>> made) {
  HWND frame = RegisterDisplayClass() ? CreateFrame(place) : nullptr;
  HWND control = nullptr;
  if (frame != nullptr) {
    control =
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_OWNERDRAW, 0, 0,
                        place.client_width, place.client_height, frame,
                        reinterpret_cast<HMENU>(kCanvasId), GetModuleHandleA(nullptr), nullptr);
  }
  if (control == nullptr) {
    if (frame != nullptr) DestroyWindow(frame);
    opened->store(nullptr, std::memory_order_release);
    return;
  }
  ShowWindow(frame, SW_SHOW);
  SetFocus(control);
  opened->store(frame, std::memory_order_release);
  const std::shared_ptr<DisplayCanvas> canvas = made.get();
  SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(canvas.get()));

  for (;;) {
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      TranslateMessage(&message);
      DispatchMessageA(&message);
      continue;
    }
    Sleep(1);
    canvas->RepaintIfChanged();
  }
}

}  // namespace

HWND OpenDisplayWindow(const std::string& caption, std::int32_t left, std::int32_t top,
                       std::int32_t client_width, std::int32_t client_height) {
  std::atomic<HWND> opened{kNotYetOpened};
  std::promise<std::shared_ptr<DisplayCanvas>> made;
  try {
    std::thread(RunDisplay, Placement{caption, left, top, client_width, client_height}, &opened,
                made.get_future())
        .detach();
  } catch (const std::system_error&) {
    // No room for another thread: the build goes on without a display, as
    // when the window cannot be made.
    return nullptr;
  }
  const auto canvas = std::make_shared<DisplayCanvas>(client_width, client_height);
  // Checked in a loop rather than slept on: waking a sleeping thread goes
  // through the window system's server, which a busy machine makes slow.
  HWND window;
  while ((window = opened.load(std::memory_order_acquire)) == kNotYetOpened) {
    std::this_thread::yield();
  }
  if (window != nullptr) {
    canvas->Attach(window, GetDlgItem(window, kCanvasId));
    Canvases().Add(window, canvas);
  }
  made.set_value(canvas);
  // No pause for the window to appear: drawings wait in its off-screen
  // picture until the display thread shows them.
  return window;
}

void RefreshDisplay(HWND window, const Bitmap& picture, std::int32_t first_column,
                    std::int32_t last_column) {
  if (window == nullptr) return;
  if (const auto canvas = Canvases().Find(window)) canvas->Draw(picture, first_column, last_column);
}

}  // namespace skyplate
