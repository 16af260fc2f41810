#include "sim/readings.h"

namespace vesk::sim {
namespace {

constexpr double kHeaterFullPowerC = 3;
// The cooler pumps the sensor's heat into the dome base.
constexpr double kHotSideRunningC = 12;
constexpr double kHotSideIdleC = 1.5;
constexpr double kFanNeededC = 30;
constexpr double kFanSpeed = 2400;

}  // namespace

Readings TakeReadings(const Ambient& ambient, const HeatingConfig& heating,
                      const CoolingModes& cooling, Noise& noise) {
  Readings r;
  r.ambient = ambient;
  r.heaterOn = HeaterOn(heating, ambient.outsideC, ambient.outsideRH);
  r.insideC = ambient.insideC + (r.heaterOn ? kHeaterFullPowerC * heating.power / 100 : 0);
  r.cooling = EvaluateCooling(cooling, ambient.day, r.insideC, ambient.insideRH);
  r.hotSideC = r.insideC + (r.cooling.running ? kHotSideRunningC : kHotSideIdleC);
  r.fanOn = r.cooling.running || r.hotSideC > kFanNeededC;
  if (r.fanOn) {
    r.fanValue = static_cast<std::uint16_t>(kFanSpeed + noise.around(40));
  }
  return r;
}

}  // namespace vesk::sim
