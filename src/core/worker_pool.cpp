#include "core/worker_pool.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace refx {

WorkerPool::WorkerPool(int threads) : threads_(threads < 1 ? 1 : threads) {
  for (int i = 1; i < threads_; ++i) workers_.emplace_back([this, i] { work(i); });
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  start_.notify_all();
  for (std::thread& t : workers_) t.join();
}

int WorkerPool::parts_for(long count, long min_part) const {
  if (count <= 0) return 0;
  if (min_part < 1) min_part = 1;
  const long by_size = count / min_part;
  if (by_size <= 1 || threads_ == 1) return 1;
  // A few parts per thread: a thread the system has set aside for a moment leaves its
  // parts to the others instead of holding everyone up.
  const long most = std::min<long>(kMaxParts, 4L * threads_);
  return static_cast<int>(std::min(by_size, most));
}

namespace {

long part_begin(long count, int parts, int part) {
  return count / parts * part + (part < count % parts ? part : count % parts);
}

}  // namespace

// Takes parts of round `round` until none is left, or at once when another round began.
void WorkerPool::take_parts(long round) {
  for (;;) {
    int part = 0;
    const std::function<void(long, long, int)>* body = nullptr;
    long count = 0;
    int parts = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (generation_ != round || next_part_ >= parts_) return;
      part = next_part_++;
      body = body_;
      count = count_;
      parts = parts_;
    }
    (*body)(part_begin(count, parts, part), part_begin(count, parts, part + 1), part);
    std::lock_guard<std::mutex> lock(mutex_);
    if (--pending_ == 0) done_.notify_one();
  }
}

void WorkerPool::run(long count, long min_part, const std::function<void(long, long, int)>& body) {
  const int parts = parts_for(count, min_part);
  if (parts == 0) return;
  std::unique_lock<std::mutex> busy(busy_, std::try_to_lock);
  if (parts == 1 || !busy.owns_lock()) {
    body(0, count, 0);
    return;
  }
  long round = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    body_ = &body;
    count_ = count;
    parts_ = parts;
    next_part_ = 0;
    pending_ = parts;
    round = ++generation_;
  }
  start_.notify_all();
  take_parts(round);
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return pending_ == 0; });
  body_ = nullptr;
}

void WorkerPool::work(int) {
  long seen = 0;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      start_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
    }
    take_parts(seen);
  }
}

int configured_threads() {
  const char* text = std::getenv("REFX_THREADS");
  if (text != nullptr && *text != '\0') {
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (*end == '\0' && n >= 1 && n <= 64) return static_cast<int>(n);
  }
  const unsigned hw = std::thread::hardware_concurrency();
  return hw == 0 ? 1 : static_cast<int>(hw > 64 ? 64 : hw);
}

namespace {

std::unique_ptr<WorkerPool>& pool_slot() {
  static std::unique_ptr<WorkerPool> pool;
  return pool;
}

}  // namespace

WorkerPool& worker_pool() {
  std::unique_ptr<WorkerPool>& pool = pool_slot();
  if (!pool) pool = std::make_unique<WorkerPool>(configured_threads());
  return *pool;
}

void restart_worker_pool(int threads) {
  std::unique_ptr<WorkerPool>& pool = pool_slot();
  pool.reset();
  pool = std::make_unique<WorkerPool>(threads);
}

void parallel_for(long count, long threshold, const std::function<void(long, long, int)>& body) {
  if (count <= 0) return;
  if (count < threshold) {
    body(0, count, 0);
    return;
  }
  WorkerPool& pool = worker_pool();
  pool.run(count, threshold / pool.threads() > 0 ? threshold / pool.threads() : 1, body);
}

}  // namespace refx
