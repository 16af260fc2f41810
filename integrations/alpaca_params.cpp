#include "integrations/alpaca_params.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace vesk {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

std::optional<std::string> DecodeComponent(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      decoded += ' ';
    } else if (c == '%') {
      if (i + 2 >= text.size()) {
        return std::nullopt;
      }
      const int high = HexDigit(text[i + 1]);
      const int low = HexDigit(text[i + 2]);
      if (high < 0 || low < 0) {
        return std::nullopt;
      }
      decoded += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      decoded += c;
    }
  }
  return decoded;
}

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::optional<AlpacaParams> DecodeForm(std::string_view body) {
  AlpacaParams params;
  while (!body.empty()) {
    const std::size_t end = std::min(body.find('&'), body.size());
    const std::string_view field = body.substr(0, end);
    body.remove_prefix(std::min(end + 1, body.size()));
    if (field.empty()) {
      continue;
    }
    const std::size_t equals = field.find('=');
    const auto name = DecodeComponent(field.substr(0, equals));
    const auto value = DecodeComponent(equals == std::string_view::npos ? std::string_view()
                                                                        : field.substr(equals + 1));
    if (!name || !value) {
      return std::nullopt;
    }
    params.emplace_back(*name, *value);
  }
  return params;
}

const std::string* FindParam(const AlpacaParams& params, std::string_view name, bool anyCase) {
  for (const auto& [key, value] : params) {
    if (anyCase ? SameLetters(key, name) : key == name) {
      return &value;
    }
  }
  return nullptr;
}

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
