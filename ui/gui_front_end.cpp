#include "ui/gui_front_end.h"

#include "forms/control_access.h"
#include "topdown/display_window_win32.h"
#include "ui/main_window.h"
#include "ui/plain_message_box.h"

namespace skyplate {
namespace {

constexpr char kDisplayCaption[] = "Topdown";
constexpr int kDisplayLeft = 256;
constexpr int kDisplayTop = 100;

}  // namespace

void GuiFrontEnd::ShowMainWindow() {
  ShowControl(MainWindow, SW_SHOW);
}

void GuiFrontEnd::SetStatus(const std::string& text) {
  SetControlText(StatusLine, text.c_str());
}

void GuiFrontEnd::ShowMessage(const std::string& text, const std::optional<std::string>& caption,
                              const std::string&) {
  ShowPlainMessage(text, caption.value_or(kDefaultMessageCaption));
}

void GuiFrontEnd::CloseMainWindow() {
  CloseForm(MainWindow, 0);
}

void GuiFrontEnd::OpenDisplay(std::int32_t client_width, std::int32_t client_height) {
  display_ =
      OpenDisplayWindow(kDisplayCaption, kDisplayLeft, kDisplayTop, client_width, client_height);
}

void GuiFrontEnd::RefreshDisplay(const Bitmap& picture, std::int32_t first_column,
                                 std::int32_t last_column) {
  ::skyplate::RefreshDisplay(display_, picture, first_column, last_column);
}

// Track makers build with images still missing on purpose; the picture
// shows the gap.
void GuiFrontEnd::ImageNotLoaded(std::string_view, const std::string&, const std::string&) {}

// A picture that was never written must not pass for done: the status line
// still ends with "All Done", so the user hears it here.
void GuiFrontEnd::OutputNotWritten(const std::string& path, const std::string& reason) {
  ShowPlainMessage("The topdown picture was not written:\n" + path + "\n" + reason,
                   kDefaultMessageCaption);
}

}  // namespace skyplate
