#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

namespace vesk {

// Runs each job on a free thread, starting a new one when none is free as long as fewer than
// `most` run; a thread left without work for idleLimit ends, down to `fewest`. The HTTP server
// hands it each connection, which holds its thread for as long as the client keeps it open: a
// fixed few threads would leave every other client waiting until one of those connections
// ends, and a busy one may not end for seconds.
class ElasticThreadPool {
 public:
  ElasticThreadPool(std::size_t fewest, std::size_t most, std::chrono::milliseconds idleLimit);
  ~ElasticThreadPool();
  ElasticThreadPool(const ElasticThreadPool&) = delete;
  ElasticThreadPool& operator=(const ElasticThreadPool&) = delete;

  // Ignored once the pool is shut down.
  void Enqueue(std::function<void()> job);
  // Runs the jobs still waiting, then ends every thread.
  void Shutdown();
  // The threads running now, working or waiting for work.
  std::size_t Threads() const;

 private:
  using Handle = std::list<std::thread>::iterator;

  void StartThread();
  void Work(Handle self);
  void JoinFinished(std::unique_lock<std::mutex>& lock);

  const std::size_t fewest_;
  const std::size_t most_;
  const std::chrono::milliseconds idleLimit_;
  // Protects everything below.
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  std::list<std::thread> threads_;
  std::vector<std::thread> finished_;  // threads that ended for want of work, to be joined
  std::size_t idle_ = 0;
  bool shutdown_ = false;
};

}  // namespace vesk
