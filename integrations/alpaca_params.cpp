#include "integrations/alpaca_params.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vesk {

std::optional<std::uint32_t> ParseUInt32(std::string_view text) {
  std::uint32_t value = 0;
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::optional<bool> ParseBool(std::string_view text) {
  if (SameLetters(text, "true")) {
    return true;
  }
  if (SameLetters(text, "false")) {
    return false;
  }
  return std::nullopt;
}

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace vesk
