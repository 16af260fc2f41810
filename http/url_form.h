#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesk {

// The parameters of one request, names and values decoded, in the order sent.
using FormParams = std::vector<std::pair<std::string, std::string>>;

// A form-encoded body or a query ("Connected=true&ClientID=3"): '+' is a blank, %XX a byte.
// None when an escape is broken.
std::optional<FormParams> DecodeForm(std::string_view body);

// The first parameter of that name, its case ignored when anyCase.
const std::string* FindParam(const FormParams& params, std::string_view name, bool anyCase);

// Whether two names are the same letters in any case (ASCII).
bool SameLetters(std::string_view a, std::string_view b);

}  // namespace vesk
