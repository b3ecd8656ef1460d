// The closing line of a batch and its exit status.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace skyplate {

class BatchSummary {
 public:
  // Counts one item: its path and its exit status, 0 when it was built.
  void Add(const std::string& path, int status);

  std::size_t size() const { return count_; }
  // The first failure's status, so that one bad track among many is seen
  // even when the rest were built; 0 when every track was.
  int ExitStatus() const { return status_; }
  // "12 tracks: 11 built, 1 failed: Tracks\Bad.track".
  std::string Line() const;

 private:
  std::size_t count_ = 0;
  int status_ = 0;
  std::vector<std::string> failed_;
};

}  // namespace skyplate
