#pragma once

#include <cstdint>
#include <vector>

namespace vesk {

// Order bytes go into the serial link in one, the reply payload comes back in another.
using TArrayByte = std::vector<std::uint8_t>;

}  // namespace vesk
