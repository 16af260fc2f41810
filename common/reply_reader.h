#pragma once

#include <cstddef>
#include <cstdint>

#include "common/byte_array.h"
#include "common/exceptions.h"

namespace vesk {

// Reads a reply payload by index. A reply shorter than its decoder expects is a
// "Range check error", never a read past the end.
class ReplyReader {
 public:
  explicit ReplyReader(const TArrayByte& payload) : payload_(payload) {}

  std::size_t size() const { return payload_.size(); }

  std::uint8_t byte(std::size_t n) const {
    if (n >= payload_.size()) {
      throw ERangeCheck();
    }
    return payload_[n];
  }

  // Multi-byte values of the board are big-endian.
  std::uint16_t word(std::size_t n) const {
    return static_cast<std::uint16_t>((byte(n) << 8) | byte(n + 1));
  }

 private:
  const TArrayByte& payload_;
};

}  // namespace vesk
