#include "cli/rebuild_report.h"

#include <ctime>

#include "topdown/build_topdown.h"

namespace skyplate {

void RebuildReport::SetStatus(const std::string& text) {
  if (picture_path_.empty() && text != kAllDoneText && text != kNotATrackText) {
    picture_path_ = text;
  }
}

void RebuildReport::ShowMessage(const std::string& text, const std::optional<std::string>&,
                                const std::string& detail) {
  problems_.push_back("error: " + detail + ": " + text);
}

void RebuildReport::ImageNotLoaded(std::string_view key, const std::string& path,
                                   const std::string& reason) {
  problems_.push_back("warning: " + std::string(key) + ": " + path + ": " + reason +
                      " (it reads as black)");
}

void RebuildReport::OutputNotWritten(const std::string& path, const std::string& reason) {
  problems_.push_back("error: " + path + ": not written: " + reason);
}

std::string RebuildReport::Line(const std::string& track_path,
                                std::chrono::system_clock::time_point when,
                                std::chrono::steady_clock::duration took) const {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  char clock[16] = "";
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  std::strftime(clock, sizeof clock, "%H:%M:%S", &local);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
  std::string line = std::string(clock) + " " +
                     (picture_path_.empty() ? track_path : picture_path_) + " " +
                     std::to_string(ms) + " ms";
  for (const std::string& problem : problems_) line += "; " + problem;
  return line;
}

}  // namespace skyplate
