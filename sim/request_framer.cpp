#include "sim/request_framer.h"

#include "link/frame.h"

namespace vesk::sim {

std::vector<TArrayByte> RequestFramer::feed(const std::uint8_t* bytes, std::size_t count) {
  std::vector<TArrayByte> frames;
  for (std::size_t i = 0; i < count; ++i) {
    if (buffer_.empty() && bytes[i] != kRequestStart) {
      continue;
    }
    buffer_.push_back(bytes[i]);
    if (buffer_.size() >= 2 && buffer_.size() == std::size_t{buffer_[1]} + 2) {
      frames.push_back(std::move(buffer_));
      buffer_.clear();
    }
  }
  return frames;
}

}  // namespace vesk::sim
