#pragma once

#include <optional>
#include <string>

#include "settings/integration_settings.h"

namespace vesk {

// What is wrong with the values of one section before they are stored, in the operator's
// words ("The Alpaca port must be from 1 to 65535."); nothing when they may be stored. Only
// values an integration could never start with are refused: a port already in use or a
// broker that does not answer is the integration's own status to tell.
std::optional<std::string> AlpacaSettingsProblem(const TAlpacaSettings& alpaca);
std::optional<std::string> MqttSettingsProblem(const TMqttSettings& mqtt);

// An IPv4 or IPv6 address written as numbers ("127.0.0.1", "0.0.0.0", "::1"): the server
// listens on nothing else, never waiting on a name server.
bool IsNumericAddress(const std::string& text);

}  // namespace vesk
