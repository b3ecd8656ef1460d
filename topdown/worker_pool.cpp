#include "topdown/worker_pool.h"

#include <algorithm>
#include <exception>
#include <new>
#include <system_error>
#include <utility>

namespace skyplate {

int DefaultJobs() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

WorkerPool::WorkerPool(int jobs) {
  const int wanted = std::max(1, jobs);
  // Room for every thread first: a vector that grew later could fail with
  // threads already running, which nothing could then join.
  threads_.reserve(wanted - 1);
  // A thread the system cannot make (no memory left for its state or its
  // stack) leaves the work to the jobs there are rather than ending the
  // process.
  for (; jobs_ < wanted; ++jobs_) {
    try {
      threads_.emplace_back(&WorkerPool::Work, this, jobs_);
    } catch (const std::system_error&) {
      break;
    } catch (const std::bad_alloc&) {
      break;
    }
  }
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
  // A share that throws (a buffer it cannot allocate) must not end the
  // process from a worker thread, nor leave the other shares running on a
  // body that has gone: every share ends first, then the caller hears.
  std::exception_ptr failure;
  try {
    RunShare(0);
  } catch (...) {
    failure = std::current_exception();
  }
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return pending_ == 0; });
  if (failure == nullptr) failure = std::exchange(failure_, nullptr);
  failure_ = nullptr;
  if (failure != nullptr) std::rethrow_exception(failure);
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
    std::exception_ptr failure;
    try {
      RunShare(job);
    } catch (...) {
      failure = std::current_exception();
    }
    std::lock_guard lock(mutex_);
    if (failure != nullptr && failure_ == nullptr) failure_ = failure;
    if (--pending_ == 0) done_.notify_one();
  }
}

}  // namespace skyplate
