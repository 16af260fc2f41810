#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::cli {

// A JSON text as an escaped string: quotes, backslashes and control characters escaped, and
// every byte from 0x80 as \u00XX, since the board's texts are one 8-bit character per byte.
std::string JsonString(std::string_view text);

// One flat JSON object, fields in the order they are added.
class JsonObject {
 public:
  JsonObject& add(std::string_view name, std::string_view text);
  JsonObject& add(std::string_view name, const char* text) {
    return add(name, std::string_view(text));
  }
  // Infinite and undefined values are written as null: JSON has no number for them.
  JsonObject& add(std::string_view name, double value);
  JsonObject& add(std::string_view name, long long value);
  JsonObject& add(std::string_view name, int value) {
    return add(name, static_cast<long long>(value));
  }
  JsonObject& add(std::string_view name, std::uint8_t value) {
    return add(name, static_cast<long long>(value));
  }
  JsonObject& add(std::string_view name, std::uint16_t value) {
    return add(name, static_cast<long long>(value));
  }
  JsonObject& add(std::string_view name, bool value);
  // An array of texts.
  JsonObject& add(std::string_view name, const std::vector<std::string>& texts);

  // "{...}", on one line.
  std::string text() const { return "{" + fields_ + "}"; }

 private:
  JsonObject& addRaw(std::string_view name, const std::string& json);

  std::string fields_;
};

}  // namespace vesk::cli
