#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "station/station.h"
#include "station/station_settings.h"

namespace vesk {

struct TDataOUT;

// The observatory integrations (Alpaca, MQTT) and the web page as the station session runs
// them. A build without the integrations' libraries (a core-only Linux build) makes none.
class SessionIntegrations {
 public:
  using Line = std::function<void(const std::string& text)>;

  // log: each line for the event log; status: the status text after each change. Both are
  // called from the servers' threads. The web page reads the station only in jobs it
  // queues with post, on the session's thread.
  static std::unique_ptr<SessionIntegrations> Make(const StationSettings& settings, Line log,
                                                   Line status, Station& station,
                                                   Station::PostToMain post);

  virtual ~SessionIntegrations() = default;
  virtual bool Enabled() const = 0;
  virtual void Start() = 0;
  virtual void Stop() = 0;
  virtual void SetPollPeriod(std::chrono::milliseconds period) = 0;
  // Each ended poll, after the station has taken its reading; out is the poll's result
  // when it succeeded.
  virtual void PollEnded(const TDataOUT* out) = 0;
  virtual std::string StatusText() const = 0;
  // The board's link is closed (the operator's disconnection, a lost link): the observatory
  // hears the board is offline until the next poll.
  virtual void LinkClosed() = 0;
};

}  // namespace vesk
