#pragma once

#include <string>
#include <vector>

#include "acquisition/poll_records.h"
#include "integrations/board_reading.h"

namespace vesk {

struct MqttMessage {
  std::string topic;
  std::string payload;
};

// "vesk_" and the serial number's letters, digits, '-' and '_' ("vesk_127512"); the serial
// number of a board that did not tell it is "unknown".
std::string NodeId(const BoardReading& reading);

// The base of every topic: the setting, or "vesk/" and the serial number when it is empty.
std::string BaseTopic(const std::string& setting, const BoardReading& reading);
std::string StateTopic(const std::string& base);
std::string AvailabilityTopic(const std::string& base);

// The readings of one poll with the field names of `vesk-cli poll --json`.
std::string StateJson(const TDataOUT& data);

// Home Assistant discovery: one retained config per reading the model measures, all under one
// device for the board, and an empty payload (which removes the entity) for each reading it
// does not measure, so a board whose model changed leaves no dead sensor behind.
std::vector<MqttMessage> DiscoveryConfigs(const BoardReading& reading, const std::string& base);

}  // namespace vesk
