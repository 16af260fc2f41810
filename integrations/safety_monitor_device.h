#pragma once

#include "integrations/alpaca_device.h"
#include "integrations/latest_reading.h"
#include "integrations/safety_rule.h"

namespace vesk {

// SafetyMonitor device 0: IsSafe by the safety rule; a client that has not connected is
// told unsafe.
class SafetyMonitorDevice : public AlpacaDevice {
 public:
  SafetyMonitorDevice(const LatestReading& latest, const SafetyLimits& limits)
      : latest_(latest), limits_(limits) {}

  const char* DeviceType() const override { return "SafetyMonitor"; }
  const char* DeviceName() const override { return "Vesk safety"; }

 protected:
  const char* Description() const override {
    return "Safe while the camera board answers, the air is dry and clear of dew";
  }
  MemberAnswer AnswerOwn(const MemberCall& call) override {
    if (call.member != "issafe") {
      return MemberAnswer::NoSuchMember();
    }
    if (call.put) {
      return WrongMethod(call);
    }
    return MemberAnswer::Of(Connected() &&
                            IsSafe(latest_.Get(), latest_.Now(), latest_.PollPeriod(), limits_));
  }

 private:
  const LatestReading& latest_;
  const SafetyLimits limits_;
};

}  // namespace vesk
