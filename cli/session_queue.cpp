#include "cli/session_queue.h"

namespace vesk::cli {

void SessionQueue::Post(std::function<void()> call) {
  std::lock_guard lock(mutex_);
  calls_.push_back(std::move(call));
  // The wait wakes once for all the calls queued before the run takes them.
  if (calls_.size() == 1) {
    wake_();
  }
}

void SessionQueue::RunQueued() {
  std::deque<std::function<void()>> calls;
  {
    std::lock_guard lock(mutex_);
    calls.swap(calls_);
  }
  for (auto& call : calls) {
    call();
  }
}

}  // namespace vesk::cli
