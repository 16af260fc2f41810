#pragma once

#include <string>
#include <string_view>

namespace vesk {

// A UUID (version 8, the variant of RFC 9562) made from the text alone, so a device keeps its
// identity across restarts: the same board and device type always give the same one.
std::string StableUuid(std::string_view text);

}  // namespace vesk
