// The build's front end in a terminal: results on stdout, problems on
// stderr, and a progress bar while compositing when stderr is a terminal.
#pragma once

#include <cstdio>

#include "topdown/build_front_end.h"

namespace skyplate {

class TerminalFrontEnd : public BuildFrontEnd {
 public:
  // `strict`: an image that cannot be loaded fails the build, and is told
  // as an error rather than a warning.
  TerminalFrontEnd(bool quiet, bool show_progress, bool strict)
      : quiet_(quiet), show_progress_(show_progress), strict_(strict) {}

  void ShowMainWindow() override {}
  void SetStatus(const std::string& text) override;
  void ShowMessage(const std::string& text, const std::optional<std::string>& caption,
                   const std::string& detail) override;
  void CloseMainWindow() override {}
  void OpenDisplay(std::int32_t client_width, std::int32_t client_height) override;
  void RefreshDisplay(const Bitmap& picture, std::int32_t first_column,
                      std::int32_t last_column) override;
  void ShowProgress(std::int64_t rows_done, std::int64_t rows_total) override;
  void ImageNotLoaded(std::string_view key, const std::string& path,
                      const std::string& reason) override;
  void OutputNotWritten(const std::string& path, const std::string& reason) override;

 private:
  void DrawProgress(std::int64_t done, std::int64_t total);
  void ClearProgress();

  bool quiet_;
  bool show_progress_;
  bool strict_;
  bool progress_shown_ = false;
  int last_percent_ = -1;
  // The track being built failed to write its picture: it ends with that
  // error, not with "All Done".
  bool not_written_ = false;
};

// True when stderr goes to a terminal, where a progress bar can redraw itself.
bool StderrIsTerminal();

// Flushes stdout; false when anything printed to it could not be written (a
// full device, a closed stream).
bool ReportWritten();

}  // namespace skyplate
