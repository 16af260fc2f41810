#include "tests/support/scripted_peer.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace vesk::test {

ScriptedPeer::ScriptedPeer(int masterFd, Responder responder)
    : master_(masterFd), responder_(std::move(responder)) {
  thread_ = std::jthread([this](std::stop_token stop) { serve(stop); });
}

ScriptedPeer::~ScriptedPeer() {
  thread_.request_stop();
  thread_.join();
}

void ScriptedPeer::sendRaw(const TArrayByte& bytes) {
  if (!bytes.empty()) {
    [[maybe_unused]] const auto written = ::write(master_, bytes.data(), bytes.size());
  }
}

std::vector<TArrayByte> ScriptedPeer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<std::chrono::steady_clock::time_point> ScriptedPeer::requestTimes() const {
  std::lock_guard lock(mutex_);
  return times_;
}

bool ScriptedPeer::waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

bool ScriptedPeer::readExactly(std::stop_token& stop, std::uint8_t* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    if (stop.stop_requested()) {
      return false;
    }
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) {
      continue;
    }
    const ssize_t got = ::read(master_, bytes + done, count - done);
    if (got > 0) {
      done += static_cast<std::size_t>(got);
    } else if (got < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
      return false;
    }
  }
  return true;
}

void ScriptedPeer::serve(std::stop_token stop) {
  while (!stop.stop_requested()) {
    TArrayByte request(2);
    if (!readExactly(stop, request.data(), 2)) {
      return;
    }
    request.resize(2 + request[1]);
    if (!readExactly(stop, request.data() + 2, request[1])) {
      return;
    }
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      times_.push_back(std::chrono::steady_clock::now());
    }
    changed_.notify_all();
    sendRaw(responder_(request));
  }
}

}  // namespace vesk::test
