#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "http/http_message.h"

namespace vesk {

// The live page's listeners (Server-Sent Events) and the newest state: each poll is one
// event, which each listener's connection sends on its own; the poll never waits on a
// client. Any thread.
class LiveHub {
 public:
  // The newest event goes to the new listener at once.
  void Attach(PushPiece push);
  // A poll's state in two steps: kept as the newest, then (on the server's thread) its
  // event sent to every listener.
  void SetLatest(const std::string& json);
  void Send(const std::string& json);
  std::string Latest() const;
  std::size_t Listeners() const;
  // Every listener forgotten (the server stops).
  void Clear();

 private:
  static std::string Event(const std::string& json);

  mutable std::mutex mutex_;  // protects everything below
  std::string latest_;
  std::vector<PushPiece> listeners_;
};

}  // namespace vesk
