#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesk {

// The parameters of one request, names and values decoded, in the order sent.
using AlpacaParams = std::vector<std::pair<std::string, std::string>>;

// A form-encoded body ("Connected=true&ClientID=3"): '+' is a blank, %XX a byte. None when
// an escape is broken.
std::optional<AlpacaParams> DecodeForm(std::string_view body);

// The first parameter of that name: on GET the name's case does not matter, on PUT it must
// be exact.
const std::string* FindParam(const AlpacaParams& params, std::string_view name, bool anyCase);

// 0 to 4294967295, decimal digits only.
std::optional<std::uint32_t> ParseUInt32(std::string_view text);
// "true" or "false", in any case.
std::optional<bool> ParseBool(std::string_view text);
// A finite decimal number with the point.
std::optional<double> ParseNumber(std::string_view text);

}  // namespace vesk
