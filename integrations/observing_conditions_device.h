#pragma once

#include "integrations/alpaca_device.h"
#include "integrations/latest_reading.h"
#include "integrations/observing_sensors.h"

namespace vesk {

// ObservingConditions device 0: the newest poll's outside temperature, humidity, dew point
// and, with the weather module, pressure and wind, in the standard's units. Sensors the board
// does not have, or the connected model lacks, answer "not implemented".
class ObservingConditionsDevice : public AlpacaDevice {
 public:
  explicit ObservingConditionsDevice(const LatestReading& latest) : latest_(latest) {}

  const char* DeviceType() const override { return "ObservingConditions"; }
  const char* DeviceName() const override { return "Vesk weather"; }

 protected:
  const char* Description() const override {
    return "Outside temperature, humidity, dew point, pressure and wind at the all-sky camera";
  }
  MemberAnswer AnswerOwn(const MemberCall& call) override;

 private:
  MemberAnswer AveragePeriod(const MemberCall& call) const;
  MemberAnswer Refresh() const;
  // SensorDescription and TimeSinceLastUpdate.
  MemberAnswer AboutSensor(const MemberCall& call) const;
  MemberAnswer Read(ObservingSensor sensor) const;
  // An answer for a sensor that cannot be read now, or none when it can.
  std::optional<MemberAnswer> Unavailable(ObservingSensor sensor,
                                          const std::optional<StampedReading>& latest) const;

  const LatestReading& latest_;
};

}  // namespace vesk
