#include "settings/integration_checks.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace vesk {
namespace {

bool IsPort(int port) {
  return port >= 1 && port <= 65535;
}

// A value the settings file cannot hold on one line, or that a server would cut.
bool HasControl(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

bool IsIPv4(std::string_view text) {
  int parts = 0;
  while (true) {
    std::size_t digits = 0;
    int value = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits])) != 0) {
      value = value * 10 + (text[digits] - '0');
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255 || (digits > 1 && text[0] == '0')) {
      return false;
    }
    ++parts;
    text.remove_prefix(digits);
    if (text.empty()) {
      return parts == 4;
    }
    if (text[0] != '.' || parts == 4) {
      return false;
    }
    text.remove_prefix(1);
  }
}

// Groups of one to four hex digits; one "::" stands for the zero groups left out; the last
// 32 bits may be written as an IPv4 address.
bool IsIPv6(std::string_view text) {
  const auto gap = text.find("::");
  if (gap != std::string_view::npos && text.find("::", gap + 1) != std::string_view::npos) {
    return false;
  }
  int groups = 0;
  const auto count = [&groups](std::string_view part, bool last) {
    while (!part.empty()) {
      const auto colon = part.find(':');
      const std::string_view group = part.substr(0, colon);
      if (last && colon == std::string_view::npos && group.find('.') != std::string_view::npos) {
        if (!IsIPv4(group)) {
          return false;
        }
        groups += 2;
        return true;
      }
      if (group.empty() || group.size() > 4 || !std::all_of(group.begin(), group.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) != 0;
          })) {
        return false;
      }
      ++groups;
      if (colon == std::string_view::npos) {
        return true;
      }
      part.remove_prefix(colon + 1);
      if (part.empty()) {
        return false;  // a single colon at the end
      }
    }
    return true;
  };
  if (gap == std::string_view::npos) {
    return count(text, true) && groups == 8;
  }
  return count(text.substr(0, gap), false) && count(text.substr(gap + 2), true) && groups < 8;
}

}  // namespace

bool IsNumericAddress(const std::string& text) {
  return text.find(':') == std::string::npos ? IsIPv4(text) : IsIPv6(text);
}

std::optional<std::string> AlpacaSettingsProblem(const TAlpacaSettings& alpaca) {
  if (!IsPort(alpaca.Port)) {
    return "The Alpaca port must be from 1 to 65535.";
  }
  if (!IsNumericAddress(alpaca.Bind)) {
    return "The Alpaca address \"" + alpaca.Bind +
           "\" is not an IP address (127.0.0.1 for this computer only, 0.0.0.0 for the "
           "network).";
  }
  if (!(alpaca.UnsafeHumidity > 0 && alpaca.UnsafeHumidity <= 100)) {
    return "The unsafe humidity must be above 0 and at most 100 %.";
  }
  if (!(alpaca.DewMargin >= 0 && alpaca.DewMargin <= 30)) {
    return "The dew margin must be from 0 to 30 °C.";
  }
  return std::nullopt;
}

std::optional<std::string> MqttSettingsProblem(const TMqttSettings& mqtt) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  if (mqtt.Host.empty() || std::any_of(mqtt.Host.begin(), mqtt.Host.end(), blank) ||
      HasControl(mqtt.Host)) {
    return "The MQTT broker needs a host name or address, without spaces.";
  }
  if (!IsPort(mqtt.Port)) {
    return "The MQTT port must be from 1 to 65535.";
  }
  if (HasControl(mqtt.User) || HasControl(mqtt.Pass)) {
    return "The MQTT user and password cannot hold line breaks or control characters.";
  }
  // The settings file drops the blanks around a value: such a password would not be the one
  // read back.
  const auto blankEnds = [&blank](const std::string& text) {
    return !text.empty() && (blank(text.front()) || blank(text.back()));
  };
  if (blankEnds(mqtt.User) || blankEnds(mqtt.Pass)) {
    return "The MQTT user and password cannot begin or end with a space.";
  }
  if (mqtt.User.empty() && !mqtt.Pass.empty()) {
    return "An MQTT password needs a user.";
  }
  // The topic is a base under which every reading is published: the wildcards only subscribe.
  if (HasControl(mqtt.Topic) || mqtt.Topic.find_first_of("+#") != std::string::npos ||
      (!mqtt.Topic.empty() && mqtt.Topic.back() == '/')) {
    return "The MQTT topic \"" + mqtt.Topic +
           "\" cannot hold + or #, nor end with / (empty: vesk/ and the serial number).";
  }
  return std::nullopt;
}

}  // namespace vesk
