#include "topdown/worker_pool.h"

#include <algorithm>

namespace skyplate {

int DefaultJobs() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

WorkerPool::WorkerPool(int jobs) : jobs_(std::max(1, jobs)) {
  for (int job = 1; job < jobs_; ++job) threads_.emplace_back(&WorkerPool::Work, this, job);
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  start_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void WorkerPool::RunShare(int job) {
  const std::int64_t begin = count_ * job / jobs_;
  const std::int64_t end = count_ * (job + 1) / jobs_;
  if (begin < end) (*body_)(job, begin, end);
}

void WorkerPool::Run(std::int64_t count, const Body& body) {
  if (jobs_ == 1 || count < 2) {
    if (count > 0) body(0, 0, count);
    return;
  }
  {
    std::lock_guard lock(mutex_);
    body_ = &body;
    count_ = count;
    pending_ = jobs_ - 1;
    ++generation_;
  }
  start_.notify_all();
  RunShare(0);
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return pending_ == 0; });
}

void WorkerPool::Work(int job) {
  std::uint64_t seen = 0;
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      start_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
    }
    RunShare(job);
    std::lock_guard lock(mutex_);
    if (--pending_ == 0) done_.notify_one();
  }
}

}  // namespace skyplate
