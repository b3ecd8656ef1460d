// A few threads that share out one loop at a time, so that the compositing
// runs on every core.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace skyplate {

// The number of jobs to run when the user does not say: one per core.
int DefaultJobs();

class WorkerPool {
 public:
  // `job` (0 .. jobs - 1) tells apart the parts that run at the same time.
  using Body = std::function<void(int job, std::int64_t begin, std::int64_t end)>;

  // `jobs` - 1 threads, or as many as the system can make; the caller of Run
  // does a share of the work itself.
  explicit WorkerPool(int jobs);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Calls body over 0..count-1 cut into one contiguous part a job, and
  // returns when every part is done. An exception from any part is thrown
  // here, once every part has ended.
  void Run(std::int64_t count, const Body& body);

  int jobs() const { return jobs_; }

 private:
  void Work(int job);
  void RunShare(int job);

  int jobs_ = 1;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable start_;
  std::condition_variable done_;
  const Body* body_ = nullptr;
  std::int64_t count_ = 0;
  std::uint64_t generation_ = 0;
  int pending_ = 0;
  bool stopping_ = false;
  std::exception_ptr failure_;  // the first a worker's share threw in this Run
};

}  // namespace skyplate
