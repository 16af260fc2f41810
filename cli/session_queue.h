#pragma once

#include <deque>
#include <functional>
#include <mutex>

namespace vesk::cli {

// Calls queued from any thread for serve's own thread (the web page's reads of the
// history, its operations), and a descriptor that is readable while one waits, for the
// poll() loop to wake on.
class SessionQueue {
 public:
  SessionQueue();
  ~SessionQueue();
  SessionQueue(const SessionQueue&) = delete;
  SessionQueue& operator=(const SessionQueue&) = delete;

  void Post(std::function<void()> call);
  int Fd() const { return fds_[0]; }
  // Runs the calls waiting now, in the order they came.
  void RunQueued();

 private:
  int fds_[2] = {-1, -1};
  std::mutex mutex_;  // protects calls_
  std::deque<std::function<void()>> calls_;
};

}  // namespace vesk::cli
