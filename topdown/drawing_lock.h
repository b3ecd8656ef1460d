// The process-wide drawing lock. It keeps a build thread's drawing into a
// display window's off-screen picture apart from the display thread's
// painting of it. It is not re-entrant.
#pragma once

#include <atomic>
#include <thread>

namespace skyplate {

class DrawingLock {
 public:
  // Waits, yielding the time slice between tries, until the lock is ours.
  void Take() {
    while (!TryTake()) std::this_thread::yield();
  }
  // One attempt; a display thread never waits for the lock.
  bool TryTake() { return !taken_.exchange(true, std::memory_order_acquire); }
  void Release() { taken_.store(false, std::memory_order_release); }

 private:
  std::atomic<bool> taken_{false};
};

inline DrawingLock& TheDrawingLock() {
  static DrawingLock lock;
  return lock;
}

}  // namespace skyplate
