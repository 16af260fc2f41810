#include "link/frame.h"

#include <algorithm>

#include "common/checked.h"

namespace vesk {
namespace {

TArrayByte BuildFrame(std::uint8_t start, const TArrayByte& body) {
  TArrayByte frame(body.size() + 3, 0);
  frame[0] = start;
  frame[1] = ToByte(static_cast<long long>(body.size()) + 1);
  std::copy(body.begin(), body.end(), frame.begin() + 2);
  frame.back() = ComputeChecksum(frame.data(), frame.size() - 1);
  return frame;
}

}  // namespace

std::uint8_t ComputeChecksum(const std::uint8_t* bytes, std::size_t count) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < count; ++i) {
    sum += bytes[i];
  }
  return static_cast<std::uint8_t>(sum & 0xFF);
}

TArrayByte BuildRequestFrame(const TArrayByte& order) {
  if (order.empty()) {
    throw ERangeCheck();
  }
  return BuildFrame(kRequestStart, order);
}

TArrayByte BuildReplyFrame(const TArrayByte& payload) {
  return BuildFrame(kReplyStart, payload);
}

}  // namespace vesk
