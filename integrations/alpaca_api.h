#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "integrations/alpaca_params.h"
#include "integrations/latest_reading.h"
#include "integrations/observing_conditions_device.h"
#include "integrations/safety_monitor_device.h"

namespace vesk {

struct AlpacaRequest {
  bool put = false;
  std::string path;
  // The query's parameters on GET, the form body's on PUT.
  AlpacaParams params;
};

struct AlpacaReply {
  int status = 200;
  std::string contentType = "application/json";
  std::string body;
};

// The Alpaca API without the transport: the management API and the two devices, the
// transaction ids and the envelope of every answer. Handle runs on the server's threads, any
// number at once.
class AlpacaApi {
 public:
  AlpacaApi(const LatestReading& latest, const SafetyLimits& limits);

  AlpacaReply Handle(const AlpacaRequest& request);

  // An answer to a request the standard calls malformed.
  static AlpacaReply BadRequest(const std::string& text);

 private:
  // The envelope: the value (none for a method), both transaction ids and the error.
  AlpacaReply Envelope(const MemberAnswer& answer, std::uint32_t clientTransactionId);
  MemberAnswer Management(const AlpacaRequest& request);
  AlpacaDevice* DeviceAt(std::string_view type, std::string_view number);
  // Stable across restarts: from the board's serial number and the device type.
  std::string UniqueId(const AlpacaDevice& device) const;

  const LatestReading& latest_;
  std::atomic<std::uint32_t> serverTransactionId_{0};
  ObservingConditionsDevice observing_;
  SafetyMonitorDevice safety_;
};

}  // namespace vesk
