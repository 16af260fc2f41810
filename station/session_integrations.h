#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "station/station_settings.h"

namespace vesk {

struct IdentityState;
struct TDataOUT;

// The observatory integrations (Alpaca, MQTT) as the station session runs them. The Windows
// build has no HTTP server or MQTT client library: there Make returns nothing.
class SessionIntegrations {
 public:
  using Line = std::function<void(const std::string& text)>;

  // log: each line for the event log; status: the status text after each change. Both are
  // called from the servers' threads.
  static std::unique_ptr<SessionIntegrations> Make(const StationSettings& settings, Line log,
                                                   Line status);

  virtual ~SessionIntegrations() = default;
  virtual bool Enabled() const = 0;
  virtual void Start() = 0;
  virtual void Stop() = 0;
  virtual void SetPollPeriod(std::chrono::milliseconds period) = 0;
  virtual void PollArrived(const TDataOUT& out, const IdentityState& identity) = 0;
  virtual std::string StatusText() const = 0;
  // The board's link is closed (the operator's disconnection, a lost link): the observatory
  // hears the board is offline until the next poll.
  virtual void LinkClosed() = 0;
};

}  // namespace vesk
