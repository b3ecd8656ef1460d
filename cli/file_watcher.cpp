#include "cli/file_watcher.h"

#include <chrono>

namespace skyplate {

bool FileWatcher::WaitForChange(int timeout_ms, std::vector<std::string>* changed) {
  using Clock = std::chrono::steady_clock;
  if (timeout_ms < 0) {
    while (!WaitForAny(-1, changed)) {
    }
    return true;
  }
  // Other files of the folders (an editor's temporary file, the picture
  // being written) wake the wait too; they do not end it early.
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    if (WaitForAny(static_cast<int>(left), changed)) return true;
  }
}

}  // namespace skyplate
