#include "cli/session_queue.h"

#include <fcntl.h>
#include <unistd.h>

#include <system_error>

namespace vesk::cli {

SessionQueue::SessionQueue() {
  if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::system_error(errno, std::generic_category(), "cannot make serve's call queue");
  }
}

SessionQueue::~SessionQueue() {
  ::close(fds_[0]);
  ::close(fds_[1]);
}

void SessionQueue::Post(std::function<void()> call) {
  std::lock_guard lock(mutex_);
  calls_.push_back(std::move(call));
  if (calls_.size() == 1) {
    const char wake = 1;
    // A full pipe already wakes the loop.
    [[maybe_unused]] const auto written = ::write(fds_[1], &wake, 1);
  }
}

void SessionQueue::RunQueued() {
  char drain[64];
  while (::read(fds_[0], drain, sizeof drain) > 0) {
  }
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
