#include "cli/json_writer.h"

#include <cmath>

#include "common/number_text.h"

namespace vesk::cli {

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      json += FormatText("\\u%04X", byte);
    } else {
      json += c;
    }
  }
  return json + "\"";
}

JsonObject& JsonObject::add(std::string_view name, std::string_view text) {
  return addRaw(name, JsonString(text));
}

JsonObject& JsonObject::add(std::string_view name, double value) {
  // FloatToText writes a JSON number for every finite value ("50", "0.1515", "1.5E-7").
  return addRaw(name, std::isfinite(value) ? FloatToText(value) : "null");
}

JsonObject& JsonObject::add(std::string_view name, long long value) {
  return addRaw(name, std::to_string(value));
}

JsonObject& JsonObject::add(std::string_view name, bool value) {
  return addRaw(name, value ? "true" : "false");
}

JsonObject& JsonObject::add(std::string_view name, const std::vector<std::string>& texts) {
  std::string json;
  for (const std::string& text : texts) {
    json += (json.empty() ? "" : ",") + JsonString(text);
  }
  return addRaw(name, "[" + json + "]");
}

JsonObject& JsonObject::addRaw(std::string_view name, const std::string& json) {
  if (!fields_.empty()) {
    fields_ += ',';
  }
  fields_ += JsonString(name) + ":" + json;
  return *this;
}

}  // namespace vesk::cli
