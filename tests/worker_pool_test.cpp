#include "topdown/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>

namespace skyplate {
namespace {

// A share that throws, on the caller's thread or a worker's, reaches the
// caller only after every other share has ended, and the pool stays usable.
TEST(WorkerPool, AShareThatThrowsReachesTheCallerAfterTheOthersEnd) {
  WorkerPool pool(4);
  ASSERT_EQ(pool.jobs(), 4);
  for (int thrower = 0; thrower < pool.jobs(); ++thrower) {
    std::atomic<int> ended = 0;
    EXPECT_THROW(pool.Run(400,
                          [&](int job, std::int64_t, std::int64_t) {
                            if (job == thrower) throw std::bad_alloc();
                            ++ended;
                          }),
                 std::bad_alloc)
        << thrower;
    EXPECT_EQ(ended, pool.jobs() - 1) << thrower;
  }
  std::atomic<std::int64_t> covered = 0;
  pool.Run(400, [&](int, std::int64_t begin, std::int64_t end) { covered += end - begin; });
  EXPECT_EQ(covered, 400);
}

}  // namespace
}  // namespace skyplate
