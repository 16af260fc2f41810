#pragma once

#include <deque>
#include <functional>
#include <mutex>

namespace vesk::cli {

// Calls queued from any thread for serve's own thread (the web page's reads of the
// history, its operations); the first call queued after a run wakes serve's wait.
class SessionQueue {
 public:
  explicit SessionQueue(std::function<void()> wake) : wake_(std::move(wake)) {}
  SessionQueue(const SessionQueue&) = delete;
  SessionQueue& operator=(const SessionQueue&) = delete;

  void Post(std::function<void()> call);
  // Runs the calls waiting now, in the order they came.
  void RunQueued();

 private:
  const std::function<void()> wake_;
  std::mutex mutex_;  // protects calls_
  std::deque<std::function<void()>> calls_;
};

}  // namespace vesk::cli
