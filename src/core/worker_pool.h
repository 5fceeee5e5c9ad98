#pragma once
// A small pool of worker threads, started on first use and kept for the run, that splits a
// loop of independent iterations into contiguous parts. Each iteration's result must not
// depend on which part it falls in, so the results are the same with any thread count.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace refx {

class WorkerPool {
 public:
  // threads: how many take part, the caller included (at least 1).
  explicit WorkerPool(int threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  static constexpr int kMaxParts = 64;

  int threads() const { return threads_; }

  // Calls body(begin, end, part) for contiguous parts covering [0, count), none shorter than
  // min_part, a few per thread (at most kMaxParts), each taken by whichever thread (the
  // caller included) is free next, and returns when all are done. part numbers run from 0
  // and index per-part results. A call made while the pool is busy (from inside a body)
  // runs as one part on the calling thread.
  void run(long count, long min_part, const std::function<void(long, long, int)>& body);

  // How many parts run() would use for count and min_part.
  int parts_for(long count, long min_part) const;

 private:
  void work(int index);
  void take_parts(long round);

  int threads_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable start_, done_;
  std::mutex busy_;
  const std::function<void(long, long, int)>* body_ = nullptr;
  long count_ = 0;
  int parts_ = 0;
  int next_part_ = 0;
  long generation_ = 0;
  int pending_ = 0;
  bool stopping_ = false;
};

// The thread count of the run: REFX_THREADS when it is a number from 1 to 64, otherwise
// what the machine offers (std::thread::hardware_concurrency, at least 1).
int configured_threads();

// The run's pool, started on first use with configured_threads().
WorkerPool& worker_pool();

// Replaces the run's pool by one of the given size (tests hold results across counts).
void restart_worker_pool(int threads);

// worker_pool().run() when count reaches threshold, otherwise one part on this thread.
void parallel_for(long count, long threshold, const std::function<void(long, long, int)>& body);

}  // namespace refx
