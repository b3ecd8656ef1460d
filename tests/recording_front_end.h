// A front end that writes down everything a build tells it, one line a call,
// so tests can compare the whole conversation at once.
#pragma once

#include <string>
#include <vector>

#include "topdown/build_front_end.h"

namespace skyplate::testing {

class RecordingFrontEnd : public BuildFrontEnd {
 public:
  std::vector<std::string> calls;
  // The refreshes are many; they are kept apart from `calls`.
  std::vector<std::pair<std::int32_t, std::int32_t>> refreshes;
  std::vector<std::string> details;

  void ShowMainWindow() override { calls.push_back("show"); }
  void SetStatus(const std::string& text) override { calls.push_back("status " + text); }
  void ShowMessage(const std::string& text, const std::optional<std::string>& caption,
                   const std::string& detail) override {
    calls.push_back("message " + text + " | " + caption.value_or("(default caption)"));
    details.push_back(detail);
  }
  void CloseMainWindow() override { calls.push_back("close"); }
  void OpenDisplay(std::int32_t width, std::int32_t height) override {
    calls.push_back("display " + std::to_string(width) + "x" + std::to_string(height));
  }
  void RefreshDisplay(const Bitmap&, std::int32_t first, std::int32_t last) override {
    refreshes.emplace_back(first, last);
  }
  void ImageNotLoaded(std::string_view key, const std::string&, const std::string&) override {
    calls.push_back("not loaded " + std::string(key));
  }
  void OutputNotWritten(const std::string&, const std::string& reason) override {
    calls.push_back("not written");
    details.push_back(reason);
  }
};

}  // namespace skyplate::testing
