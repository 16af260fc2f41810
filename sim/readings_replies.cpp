#include "sim/readings_replies.h"

#include "sim/identity.h"
#include "sim/put_word.h"
#include "sim/sensor_counts.h"
#include "sim/weather_encoding.h"

namespace vesk::sim {
namespace {

constexpr std::size_t kBasicLength = 9;
constexpr std::size_t kInsideHumidityLength = 15;
constexpr std::size_t kHotSideLength = 21;
constexpr std::uint8_t kInsideHumidityFeature = 5;

std::uint8_t StatusSensorByte(const Readings& r) {
  return static_cast<std::uint8_t>((r.ambient.day ? 0x01 : 0) | (r.cooling.running ? 0x02 : 0) |
                                   (r.fanOn ? 0x04 : 0));
}

}  // namespace

std::size_t VoltageReplyLength(const BoardIdentity& identity) {
  if (identity.major >= 2 && HasHotSide(identity.type)) {
    return kHotSideLength;
  }
  if (identity.major >= 2 && identity.feature >= kInsideHumidityFeature) {
    return kInsideHumidityLength;
  }
  return kBasicLength;
}

TArrayByte VoltageReply(const Readings& r, const HeatingConfig& heating,
                        const CoolingModes& cooling, std::size_t length) {
  TArrayByte reply;
  PutWord(reply, TemperatureCount(r.ambient.outsideC));
  PutWord(reply, HumidityCount(r.ambient.outsideRH));
  PutWord(reply, TemperatureCount(r.insideC));
  reply.push_back(r.heaterOn ? 1 : 0);
  reply.push_back(heating.automatic ? 1 : 0);
  reply.push_back(heating.power);
  if (length >= kInsideHumidityLength) {
    reply.insert(reply.end(), 4, 0);  // bytes 9 to 12 are not used
    PutWord(reply, HumidityCount(r.ambient.insideRH));
  }
  if (length >= kHotSideLength) {
    PutWord(reply, TemperatureCount(r.hotSideC));
    reply.push_back(StatusSensorByte(r));
    PutWord(reply, r.fanValue);
    reply.push_back(StatusCoolerByte(cooling, r.cooling));
  }
  return reply;
}

TArrayByte DataExtReply(const Readings& r, const HeatingConfig& heating, bool v2, Noise& noise) {
  const Ambient& a = r.ambient;
  TArrayByte reply;
  PutWord(reply, PressureWord(StationPressure(a.seaLevelHpa)));
  PutWord(reply, HumidityWord(a.outsideRH));
  PutWord(reply, TemperatureWord(a.outsideC, v2));
  PutWord(reply, WindSpeedWord(a.windKmh, v2));
  PutWord(reply, WindDirectionWord(a.windDeg, v2));
  PutWord(reply, ModuleTemperatureWord(a.moduleC));
  PutWord(reply, heating.tempThreshold);
  PutWord(reply, heating.rhThreshold);
  PutWord(reply, ChannelWord(kReferenceVolts + noise.around(0.0025)));
  reply.push_back(0);  // converter status: OK
  return reply;
}

}  // namespace vesk::sim
