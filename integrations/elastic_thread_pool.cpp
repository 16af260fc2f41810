#include "integrations/elastic_thread_pool.h"

#include <utility>

namespace vesk {

ElasticThreadPool::ElasticThreadPool(std::size_t fewest, std::size_t most,
                                     std::chrono::milliseconds idleLimit)
    : fewest_(fewest), most_(most < 1 ? 1 : most), idleLimit_(idleLimit) {}

ElasticThreadPool::~ElasticThreadPool() {
  Shutdown();
}

void ElasticThreadPool::Enqueue(std::function<void()> job) {
  std::unique_lock lock(mutex_);
  JoinFinished(lock);
  if (shutdown_) {
    return;
  }
  jobs_.push_back(std::move(job));
  // Each waiting thread takes one job; the jobs beyond them want threads of their own.
  if (jobs_.size() > idle_ && threads_.size() < most_) {
    StartThread();
  }
  wake_.notify_one();
}

void ElasticThreadPool::Shutdown() {
  std::vector<std::thread> all;
  {
    std::lock_guard lock(mutex_);
    shutdown_ = true;
    wake_.notify_all();
    // No thread leaves either list once shut down: they end by returning.
    for (auto& thread : threads_) {
      all.push_back(std::move(thread));
    }
    threads_.clear();
    for (auto& thread : finished_) {
      all.push_back(std::move(thread));
    }
    finished_.clear();
  }
  for (auto& thread : all) {
    thread.join();
  }
}

std::size_t ElasticThreadPool::Threads() const {
  std::lock_guard lock(mutex_);
  return threads_.size();
}

// With the lock held: the new thread's handle is in place before it can look for it.
void ElasticThreadPool::StartThread() {
  const Handle self = threads_.emplace(threads_.end());
  *self = std::thread([this, self] { Work(self); });
}

void ElasticThreadPool::Work(Handle self) {
  std::unique_lock lock(mutex_);
  while (true) {
    ++idle_;
    const bool woken =
        wake_.wait_for(lock, idleLimit_, [this] { return shutdown_ || !jobs_.empty(); });
    --idle_;
    if (!jobs_.empty()) {
      std::function<void()> job = std::move(jobs_.front());
      jobs_.pop_front();
      lock.unlock();
      job();
      lock.lock();
      continue;
    }
    if (shutdown_) {
      return;
    }
    if (!woken && threads_.size() > fewest_) {
      // Joined by the next Enqueue or by Shutdown: a thread cannot join itself.
      finished_.push_back(std::move(*self));
      threads_.erase(self);
      return;
    }
  }
}

void ElasticThreadPool::JoinFinished(std::unique_lock<std::mutex>& lock) {
  if (finished_.empty()) {
    return;
  }
  std::vector<std::thread> done = std::move(finished_);
  finished_.clear();
  lock.unlock();
  for (auto& thread : done) {
    thread.join();
  }
  lock.lock();
}

}  // namespace vesk
