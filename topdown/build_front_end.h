// What a build tells its user and shows while it composites. The GUI answers
// with windows, the command-line tool with the terminal, tests with a recorder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "topdown/bitmap.h"

namespace skyplate {

class BuildFrontEnd {
 public:
  virtual ~BuildFrontEnd() = default;

  virtual void ShowMainWindow() = 0;
  virtual void SetStatus(const std::string& text) = 0;
  // A message the user must acknowledge. `caption` empty: the front end's own
  // default caption. `detail` says more for front ends that can show it (which
  // file, which key); the message box shows `text` alone.
  virtual void ShowMessage(const std::string& text, const std::optional<std::string>& caption,
                           const std::string& detail) = 0;
  virtual void CloseMainWindow() = 0;

  // Called once before compositing with the display's client size, a third of
  // the picture's size each way, rounded half to even.
  virtual void OpenDisplay(std::int32_t client_width, std::int32_t client_height) = 0;
  // Called after columns 0, 16, 32, ... and once more at the end. Columns
  // first_column..last_column (inclusive) of `picture` changed since the last
  // call; the final call passes first_column > last_column when nothing did.
  virtual void RefreshDisplay(const Bitmap& picture, std::int32_t first_column,
                              std::int32_t last_column) = 0;

  // How far a build that streams its picture has got, in rows; it opens no
  // display. Front ends that never stream need not answer.
  virtual void ShowProgress(std::int64_t /*rows_done*/, std::int64_t /*rows_total*/) {}

  // Problems the build tolerates and goes on from; a terminal reports them,
  // the GUI keeps quiet as its users expect.
  virtual void ImageNotLoaded(std::string_view key, const std::string& path,
                              const std::string& reason) = 0;
  virtual void OutputNotWritten(const std::string& path, const std::string& reason) = 0;
};

}  // namespace skyplate
