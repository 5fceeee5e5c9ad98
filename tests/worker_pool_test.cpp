// The worker pool: every iteration exactly once in parts of the size asked,
// a nested call run in place, and the thread count taken from REFX_THREADS.
#include "core/worker_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace refx {
namespace {

TEST(WorkerPool, CoversEveryIterationOnceInContiguousParts) {
  for (int threads : {1, 2, 3, 5}) {
    WorkerPool pool(threads);
    for (long count : {0L, 1L, 2L, 7L, 100L, 1001L}) {
      for (long min_part : {1L, 3L, 50L}) {
        SCOPED_TRACE(testing::Message() << threads << " threads, " << count << " by " << min_part);
        std::vector<std::atomic<int>> seen(static_cast<std::size_t>(count));
        std::mutex m;
        std::set<int> parts;
        pool.run(count, min_part, [&](long b, long e, int part) {
          for (long i = b; i < e; ++i) ++seen[static_cast<std::size_t>(i)];
          std::lock_guard<std::mutex> lock(m);
          EXPECT_TRUE(parts.insert(part).second) << "part " << part << " twice";
          EXPECT_GE(e - b, std::min(count, min_part)) << "a part shorter than asked";
        });
        long wrong = 0;
        for (auto& s : seen) wrong += s != 1;
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(static_cast<int>(parts.size()), pool.parts_for(count, min_part));
        // A few parts per thread when the loop is long enough, one on a single thread.
        const long want = count == 0     ? 0
                          : threads == 1 ? 1
                                         : std::max(1L, std::min(count / min_part, 4L * threads));
        EXPECT_EQ(static_cast<long>(parts.size()), want);
      }
    }
  }
}

TEST(WorkerPool, CallFromInsideABodyRunsInPlace) {
  WorkerPool pool(2);
  std::atomic<long> total{0};
  pool.run(2, 1, [&](long, long, int) {
    pool.run(10, 1, [&](long b, long e, int part) {
      EXPECT_EQ(part, 0);
      total += e - b;
    });
  });
  EXPECT_EQ(total, 20);
}

TEST(WorkerPool, ThreadCountFromTheEnvironment) {
  const unsigned hw = std::thread::hardware_concurrency();
  const int machine = hw == 0 ? 1 : static_cast<int>(hw > 64 ? 64 : hw);
  const struct {
    const char* value;
    int want;
  } cases[] = {{"1", 1},        {"3", 3},        {"64", 64},    {"0", machine},
               {"65", machine}, {"3x", machine}, {"", machine}, {"-2", machine}};
  for (const auto& c : cases) {
    setenv("REFX_THREADS", c.value, 1);
    EXPECT_EQ(configured_threads(), c.want) << '"' << c.value << '"';
  }
  unsetenv("REFX_THREADS");
  EXPECT_EQ(configured_threads(), machine);
}

}  // namespace
}  // namespace refx
