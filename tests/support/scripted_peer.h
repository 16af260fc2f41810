#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "common/byte_array.h"

namespace vesk::test {

// The board end of a pseudo-terminal, driven by a script: each request frame read from the
// master is passed to the responder, whose bytes (possibly none, possibly a broken frame)
// are written back.
class ScriptedPeer {
 public:
  using Responder = std::function<TArrayByte(const TArrayByte& request)>;

  ScriptedPeer(int masterFd, Responder responder);
  ~ScriptedPeer();
  ScriptedPeer(const ScriptedPeer&) = delete;
  ScriptedPeer& operator=(const ScriptedPeer&) = delete;

  // Bytes written to the line without a request, such as the tail of a late reply.
  void sendRaw(const TArrayByte& bytes);

  std::vector<TArrayByte> requests() const;
  // When each request frame was complete at the board.
  std::vector<std::chrono::steady_clock::time_point> requestTimes() const;
  // Waits until count request frames were read; false when the time ran out.
  bool waitForRequests(std::size_t count,
                       std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

 private:
  void serve(std::stop_token stop);
  bool readExactly(std::stop_token& stop, std::uint8_t* bytes, std::size_t count);

  int master_;
  Responder responder_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<TArrayByte> requests_;
  std::vector<std::chrono::steady_clock::time_point> times_;
  std::jthread thread_;
};

}  // namespace vesk::test
