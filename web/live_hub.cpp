#include "web/live_hub.h"

#include <algorithm>

namespace vesk {

std::string LiveHub::Event(const std::string& json) {
  // A JSON text holds no line end: one data line per event.
  return "data: " + json + "\n\n";
}

void LiveHub::Attach(PushPiece push) {
  std::lock_guard lock(mutex_);
  // A comment first, so the browser knows at once that the stream is open.
  if (!push(latest_.empty() ? std::string(":\n\n") : Event(latest_))) {
    return;
  }
  listeners_.push_back(std::move(push));
}

void LiveHub::SetLatest(const std::string& json) {
  std::lock_guard lock(mutex_);
  latest_ = json;
}

void LiveHub::Send(const std::string& json) {
  const std::string event = Event(json);
  std::lock_guard lock(mutex_);
  std::erase_if(listeners_, [&event](const PushPiece& push) { return !push(event); });
}

std::string LiveHub::Latest() const {
  std::lock_guard lock(mutex_);
  return latest_;
}

std::size_t LiveHub::Listeners() const {
  std::lock_guard lock(mutex_);
  return listeners_.size();
}

void LiveHub::Clear() {
  std::lock_guard lock(mutex_);
  listeners_.clear();
}

}  // namespace vesk
