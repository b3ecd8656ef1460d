#include <unistd.h>

#include <array>
#include <atomic>

#include "topdown/live_temporary_files.h"

namespace skyplate {
namespace {

// A signal handler may read these at any instruction of any thread: only
// lock-free atomics are safe there.
static_assert(std::atomic<const char*>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

std::array<std::atomic<const char*>, kLiveTemporarySlots> live_paths{};
std::atomic<bool> removing{false};

}  // namespace

int EnterTemporaryFile(const char* path) {
  for (int slot = 0; slot < kLiveTemporarySlots; ++slot) {
    const char* empty = nullptr;
    if (live_paths[slot].compare_exchange_strong(empty, path)) return slot;
  }
  return -1;
}

void LeaveTemporaryFile(int slot) {
  if (slot < 0) return;
  live_paths[slot].store(nullptr);
  // Sequentially consistent with the handler's two steps: either it no longer
  // sees this path, or this thread sees it removing and must not let the
  // path be freed under it. The handler ends the process, so wait for that.
  while (removing.load()) pause();
}

void RemoveLiveTemporaryFiles() {
  removing.store(true);
  for (std::atomic<const char*>& live : live_paths) {
    if (const char* path = live.load()) unlink(path);
  }
}

}  // namespace skyplate
