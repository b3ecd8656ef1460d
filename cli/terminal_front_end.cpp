#include "cli/terminal_front_end.h"

#include <utility>

#include "topdown/build_topdown.h"
#include "topdown/file_failure.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace skyplate {
namespace {

constexpr int kBarWidth = 40;

}  // namespace

bool StderrIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

bool ReportWritten() {
  return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

void TerminalFrontEnd::SetStatus(const std::string& text) {
  ClearProgress();
  // In the GUI this status line repeats the message box; a terminal says it
  // once, as the error.
  if (text == kAllDoneText && std::exchange(not_written_, false)) return;
  if (quiet_ || text == kNotATrackText) return;
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

void TerminalFrontEnd::ShowMessage(const std::string& text, const std::optional<std::string>&,
                                   const std::string& detail) {
  ClearProgress();
  std::fprintf(stderr, "error: %s: %s\n", detail.c_str(), text.c_str());
}

void TerminalFrontEnd::OpenDisplay(std::int32_t, std::int32_t) {
  last_percent_ = -1;
}

void TerminalFrontEnd::RefreshDisplay(const Bitmap& picture, std::int32_t,
                                      std::int32_t last_column) {
  DrawProgress(last_column + 1, picture.width);
}

void TerminalFrontEnd::ShowProgress(std::int64_t rows_done, std::int64_t rows_total) {
  DrawProgress(rows_done, rows_total);
}

void TerminalFrontEnd::DrawProgress(std::int64_t done, std::int64_t total) {
  if (quiet_ || !show_progress_ || total <= 0) return;
  const int percent = static_cast<int>(100 * done / total);
  if (percent == last_percent_) return;
  last_percent_ = percent;
  const int filled = percent * kBarWidth / 100;
  std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled, "########################################",
               kBarWidth - filled, "", percent);
  std::fflush(stderr);
  progress_shown_ = true;
}

void TerminalFrontEnd::ImageNotLoaded(std::string_view key, const std::string& path,
                                      const std::string& reason) {
  ClearProgress();
  std::fprintf(stderr, strict_ ? "error: %.*s: %s\n" : "warning: %.*s: %s (it reads as black)\n",
               static_cast<int>(key.size()), key.data(), FileFailureText(path, reason).c_str());
}

void TerminalFrontEnd::OutputNotWritten(const std::string& path, const std::string& reason) {
  ClearProgress();
  not_written_ = true;
  std::fprintf(stderr, "error: %s: not written: %s\n", path.c_str(), reason.c_str());
}

void TerminalFrontEnd::ClearProgress() {
  if (!progress_shown_) return;
  std::fprintf(stderr, "\r%*s\r", kBarWidth + 8, "");
  progress_shown_ = false;
}

}  // namespace skyplate
