#include "sim/heating.h"

#include "acquisition/sensor_conversions.h"
#include "common/reply_reader.h"
#include "sim/put_word.h"
#include "sim/sensor_counts.h"

namespace vesk::sim {
namespace {

constexpr std::uint8_t kConfigTaken = 0xCA;
constexpr std::uint8_t kRefused = 0x00;

}  // namespace

HeatingConfig DefaultHeating() {
  HeatingConfig config;
  config.tempThreshold = static_cast<std::uint16_t>(CelsiusToCount(2));
  config.rhThreshold = static_cast<std::uint16_t>(HumidityToCount(85, HumidityConstants{}));
  return config;
}

bool HeaterOn(const HeatingConfig& config, double outsideC, double outsideRH) {
  if (!config.automatic) {
    return config.forced;
  }
  const int temperature = TemperatureCount(outsideC);
  const int humidity = HumidityCount(outsideRH);
  return temperature < static_cast<std::int16_t>(config.tempThreshold) ||
         humidity > static_cast<std::int16_t>(config.rhThreshold);
}

TArrayByte SetConfig(HeatingConfig& config, const TArrayByte& order) {
  if (order.size() < 7) {
    return {kRefused};
  }
  const ReplyReader bytes(order);
  config.tempThreshold = bytes.word(1);
  config.rhThreshold = bytes.word(3);
  config.automatic = bytes.byte(5) != 0;
  config.power = bytes.byte(6);
  return {kConfigTaken};
}

TArrayByte GetConfig(const HeatingConfig& config) {
  TArrayByte reply;
  PutWord(reply, config.tempThreshold);
  PutWord(reply, config.rhThreshold);
  reply.push_back(config.automatic ? 1 : 0);
  reply.push_back(config.power);
  return reply;
}

TArrayByte EnableHeater(HeatingConfig& config, const TArrayByte& order) {
  if (order.size() >= 2) {
    config.forced = order[1] != 0;
  }
  return {static_cast<std::uint8_t>(config.automatic ? 1 : 0)};
}

}  // namespace vesk::sim
