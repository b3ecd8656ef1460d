// A front end that tells nobody anything: for programs that only want the
// build's output file (tests, fuzzing, benchmarks), which override what they
// do want to hear.
#pragma once

#include "topdown/build_front_end.h"

namespace skyplate {

class SilentFrontEnd : public BuildFrontEnd {
 public:
  void ShowMainWindow() override {}
  void SetStatus(const std::string&) override {}
  void ShowMessage(const std::string&, const std::optional<std::string>&,
                   const std::string&) override {}
  void CloseMainWindow() override {}
  void OpenDisplay(std::int32_t, std::int32_t) override {}
  void RefreshDisplay(const Bitmap&, std::int32_t, std::int32_t) override {}
  void ImageNotLoaded(std::string_view, const std::string&, const std::string&) override {}
  void OutputNotWritten(const std::string&, const std::string&) override {}
};

}  // namespace skyplate
