// What a build started from the main window tells its user: message boxes,
// the main window's status line, and a display window of its own.
#pragma once

#include <windows.h>

#include "topdown/build_front_end.h"

namespace skyplate {

class GuiFrontEnd final : public BuildFrontEnd {
 public:
  void ShowMainWindow() override;
  void SetStatus(const std::string& text) override;
  void ShowMessage(const std::string& text, const std::optional<std::string>& caption,
                   const std::string& detail) override;
  void CloseMainWindow() override;
  void OpenDisplay(std::int32_t client_width, std::int32_t client_height) override;
  void RefreshDisplay(const Bitmap& picture, std::int32_t first_column,
                      std::int32_t last_column) override;
  void ImageNotLoaded(std::string_view key, const std::string& path,
                      const std::string& reason) override;
  void OutputNotWritten(const std::string& path, const std::string& reason) override;

 private:
  HWND display_ = nullptr;
};

}  // namespace skyplate
