#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "http/url_form.h"

namespace vesk {

using AlpacaParams = FormParams;

// 0 to 4294967295, decimal digits only.
std::optional<std::uint32_t> ParseUInt32(std::string_view text);
// "true" or "false", in any case.
std::optional<bool> ParseBool(std::string_view text);
// A finite decimal number with the point.
std::optional<double> ParseNumber(std::string_view text);

}  // namespace vesk
