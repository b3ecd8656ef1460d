#include "cli/batch_summary.h"

namespace skyplate {

void BatchSummary::Add(const std::string& path, int status) {
  ++count_;
  if (status == 0) return;
  if (status_ == 0) status_ = status;
  failed_.push_back(path);
}

std::string BatchSummary::Line() const {
  std::string line = std::to_string(count_) + (count_ == 1 ? " track: " : " tracks: ") +
                     std::to_string(count_ - failed_.size()) + " built, " +
                     std::to_string(failed_.size()) + " failed";
  for (std::size_t i = 0; i < failed_.size(); ++i) line += (i == 0 ? ": " : ", ") + failed_[i];
  return line;
}

}  // namespace skyplate
