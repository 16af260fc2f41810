#include "integrations/elastic_thread_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <numeric>

namespace vesk {
namespace {

using namespace std::chrono_literals;

// Waits for what the pool's threads do; the limit only ends a test that would hang.
template <typename Condition>
bool Eventually(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// Jobs that stay running until the gate opens, counting how many ran at once.
struct GatedJobs {
  std::mutex mutex;
  std::condition_variable opened;
  bool open = false;
  std::atomic<int> running{0};
  std::atomic<int> mostAtOnce{0};
  std::atomic<int> done{0};

  std::function<void()> Job() {
    return [this] {
      const int now = ++running;
      int seen = mostAtOnce.load();
      while (now > seen && !mostAtOnce.compare_exchange_weak(seen, now)) {
      }
      std::unique_lock lock(mutex);
      opened.wait(lock, [this] { return open; });
      --running;
      ++done;
    };
  }
  void Open() {
    std::lock_guard lock(mutex);
    open = true;
    opened.notify_all();
  }
};

TEST(ElasticThreadPool, RunsEachJobOnAThreadOfItsOwnUpToTheMost) {
  const struct {
    std::size_t fewest, most;
    int jobs;
  } cases[] = {{3, 128, 20}, {3, 4, 9}, {0, 1, 3}, {5, 5, 5}, {2, 16, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.fewest << " to " << c.most << ", " << c.jobs << " jobs");
    ElasticThreadPool pool(c.fewest, c.most, 60s);
    GatedJobs jobs;
    for (int i = 0; i < c.jobs; ++i) {
      pool.Enqueue(jobs.Job());
    }
    const int atOnce = std::min<int>(c.jobs, static_cast<int>(c.most));
    ASSERT_TRUE(Eventually([&] { return jobs.running == atOnce; })) << jobs.running;
    EXPECT_EQ(pool.Threads(), static_cast<std::size_t>(atOnce));
    jobs.Open();
    ASSERT_TRUE(Eventually([&] { return jobs.done == c.jobs; })) << jobs.done;
    EXPECT_EQ(jobs.mostAtOnce, atOnce);
    EXPECT_EQ(pool.Threads(), static_cast<std::size_t>(atOnce)) << "no more threads than jobs";
  }
}

TEST(ElasticThreadPool, ShutdownRunsTheJobsStillWaitingInOrder) {
  std::vector<int> order;
  {
    ElasticThreadPool pool(1, 1, 60s);
    GatedJobs first;
    pool.Enqueue(first.Job());
    ASSERT_TRUE(Eventually([&] { return first.running == 1; }));
    for (int i = 0; i < 5; ++i) {
      pool.Enqueue([&order, i] { order.push_back(i); });
    }
    first.Open();
    pool.Shutdown();
    EXPECT_EQ(pool.Threads(), 0u);
    pool.Enqueue([&order] { order.push_back(99); });
  }
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4})) << "nothing runs after the shutdown";
}

TEST(ElasticThreadPool, ThreadsLeftWithoutWorkEndDownToTheFewest) {
  ElasticThreadPool pool(2, 16, 20ms);
  for (int round = 0; round < 2; ++round) {
    GatedJobs jobs;
    for (int i = 0; i < 8; ++i) {
      pool.Enqueue(jobs.Job());
    }
    ASSERT_TRUE(Eventually([&] { return jobs.running == 8; })) << "round " << round;
    jobs.Open();
    ASSERT_TRUE(Eventually([&] { return pool.Threads() == 2; })) << pool.Threads();
    EXPECT_EQ(jobs.done, 8);
  }
  std::atomic<bool> ran{false};
  pool.Enqueue([&ran] { ran = true; });
  EXPECT_TRUE(Eventually([&] { return ran.load(); }));
}

}  // namespace
}  // namespace vesk
