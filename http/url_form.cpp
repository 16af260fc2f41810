#include "http/url_form.h"

#include <algorithm>
#include <cctype>

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

}  // namespace

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<FormParams> DecodeForm(std::string_view body) {
  FormParams params;
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

const std::string* FindParam(const FormParams& params, std::string_view name, bool anyCase) {
  for (const auto& [key, value] : params) {
    if (anyCase ? SameLetters(key, name) : key == name) {
      return &value;
    }
  }
  return nullptr;
}

}  // namespace vesk
