#include "sim/board_server.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "sim/request_framer.h"

namespace vesk::sim {
namespace {

constexpr int kStalledFrameMs = 500;
// A reader that takes nothing for this long is not there: the rest of the reply is dropped.
constexpr int kWriteGiveUpMs = 1000;
// After an error on the line (no reader side at all), before the line is tried again.
constexpr int kLineErrorPauseMs = 100;

enum class Wait { Ready, Stop, TimedOut };

// Waits until fd is ready for `events`, the stop fd turns readable, or the time is up
// (a negative time waits for ever).
Wait WaitFor(int fd, short events, int stopFd, int timeoutMs) {
  pollfd fds[2] = {{stopFd, POLLIN, 0}, {fd, events, 0}};
  const nfds_t count = fd < 0 ? 1 : 2;
  while (true) {
    const int ready = poll(fds, count, timeoutMs);
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready > 0 && fds[0].revents != 0) {
      return Wait::Stop;
    }
    return ready > 0 ? Wait::Ready : Wait::TimedOut;
  }
}

// False when the stop came first.
bool WriteAll(int fd, int stopFd, const TArrayByte& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written < 0 && errno != EAGAIN) {
      return true;
    }
    const Wait wait = WaitFor(fd, POLLOUT, stopFd, kWriteGiveUpMs);
    if (wait == Wait::Stop) {
      return false;
    }
    if (wait == Wait::TimedOut) {
      return true;
    }
  }
  return true;
}

// False when the stop came first.
bool Serve(int lineFd, int stopFd, const Responder& respond, const TArrayByte& frame) {
  const ServedReply reply = respond(frame);
  if (reply.delay.count() > 0 &&
      WaitFor(-1, 0, stopFd, static_cast<int>(reply.delay.count())) == Wait::Stop) {
    return false;
  }
  return reply.bytes.empty() || WriteAll(lineFd, stopFd, reply.bytes);
}

}  // namespace

void ServeBoard(int lineFd, int stopFd, const Responder& respond) {
  fcntl(lineFd, F_SETFL, fcntl(lineFd, F_GETFL) | O_NONBLOCK);
  RequestFramer framer;
  std::uint8_t chunk[256];
  while (true) {
    const Wait wait = WaitFor(lineFd, POLLIN, stopFd, framer.pending() ? kStalledFrameMs : -1);
    if (wait == Wait::Stop) {
      return;
    }
    if (wait == Wait::TimedOut) {
      framer.reset();
      continue;
    }
    const ssize_t got = ::read(lineFd, chunk, sizeof chunk);
    if (got <= 0) {
      if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
        continue;
      }
      if (WaitFor(-1, 0, stopFd, kLineErrorPauseMs) == Wait::Stop) {
        return;
      }
      continue;
    }
    for (const TArrayByte& frame : framer.feed(chunk, static_cast<std::size_t>(got))) {
      if (!Serve(lineFd, stopFd, respond, frame)) {
        return;
      }
    }
  }
}

}  // namespace vesk::sim
