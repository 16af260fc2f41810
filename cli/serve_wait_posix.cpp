#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>

#include "cli/serve_wait.h"
#include "common/exceptions.h"

namespace vesk::cli {
namespace {

std::string SignalName(std::uint32_t signal) {
  switch (signal) {
    case SIGTERM:
      return "SIGTERM";
    case SIGINT:
      return "SIGINT";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "signal " + std::to_string(signal);
  }
}

}  // namespace

// The stop signals are taken from the normal delivery and read from a descriptor, so a
// signal during a poll ends the run after that poll, with the history saved. Blocked before
// any thread starts, so every poll worker inherits the mask.
ServeWait::ServeWait() {
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  // A closed terminal must not end the run without the save.
  sigaddset(&stop, SIGHUP);
  if (sigprocmask(SIG_BLOCK, &stop, nullptr) != 0) {
    throw Exception("Cannot block the stop signals");
  }
  stopFd_ = signalfd(-1, &stop, SFD_CLOEXEC);
  if (stopFd_ < 0) {
    throw Exception("Cannot read the stop signals");
  }
  if (::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    ::close(stopFd_);
    throw Exception("Cannot make serve's call queue");
  }
  // A reader that went away leaves the lines unprinted, not the history unsaved.
  signal(SIGPIPE, SIG_IGN);
}

ServeWait::~ServeWait() {
  ::close(stopFd_);
  ::close(wakePipe_[0]);
  ::close(wakePipe_[1]);
}

void ServeWait::Wake() {
  const char wake = 1;
  // A full pipe already wakes the loop.
  [[maybe_unused]] const auto written = ::write(wakePipe_[1], &wake, 1);
}

ServeWait::Woken ServeWait::Wait(Clock::time_point until) {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    pollfd p[2] = {{stopFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    const int ready = poll(p, 2, static_cast<int>(std::clamp<long long>(left, 0, INT_MAX)));
    if (ready > 0 && (p[0].revents & POLLIN) != 0) {
      signalfd_siginfo info{};
      if (read(stopFd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) {
        return {Woken::Stop, "a stop signal"};
      }
      return {Woken::Stop, SignalName(info.ssi_signo)};
    }
    if (ready > 0) {
      char drain[64];
      while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
      }
      return {Woken::Queued, {}};
    }
    if (ready == 0 || errno != EINTR) {
      return {Woken::Due, {}};
    }
  }
}

const char* ServeWait::StopRequests() {
  return "SIGTERM, SIGINT or SIGHUP";
}

}  // namespace vesk::cli
