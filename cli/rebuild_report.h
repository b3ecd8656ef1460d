// What a watched track's rebuild tells the user: one line, with the time,
// the picture's path, how long it took and whatever went wrong.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "topdown/silent_front_end.h"

namespace skyplate {

// Collects what a build says, for one line instead of several.
class RebuildReport : public SilentFrontEnd {
 public:
  void SetStatus(const std::string& text) override;
  void ShowMessage(const std::string& text, const std::optional<std::string>& caption,
                   const std::string& detail) override;
  void ImageNotLoaded(std::string_view key, const std::string& path,
                      const std::string& reason) override;
  void OutputNotWritten(const std::string& path, const std::string& reason) override;

  // "12:03:04 Tracks/Hill_mask_Topdown.bmp 85 ms", then each problem after
  // "; ". `track_path` names the build when it got no picture path.
  std::string Line(const std::string& track_path, std::chrono::system_clock::time_point when,
                   std::chrono::steady_clock::duration took) const;

 private:
  std::string picture_path_;
  std::vector<std::string> problems_;
};

}  // namespace skyplate
