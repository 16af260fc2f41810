#pragma once

#include <atomic>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "integrations/integrations.h"
#include "tests/integrations/polled_station.h"

namespace vesk::test {

// The Alpaca server on a free port of 127.0.0.1, fed by a station polling the simulated
// board, with a clock the test moves and an HTTP client (loopback_client.h).
class AlpacaRig {
 public:
  struct Answer {
    int status = 0;
    std::string body;
    nlohmann::json json;  // null unless the body is JSON
  };

  static TAlpacaSettings On(double unsafeHumidity = 90, double dewMargin = 2.0) {
    return {true, 0, "127.0.0.1", unsafeHumidity, dewMargin};
  }

  explicit AlpacaRig(sim::BoardIdentity identity = {}, const TAlpacaSettings& alpaca = On());

  Answer Get(const std::string& pathAndQuery);
  Answer Put(const std::string& path, const std::string& form,
             const std::string& contentType = "application/x-www-form-urlencoded");
  // PUT Connected=true on both devices.
  void ConnectDevices();
  void Advance(std::chrono::milliseconds time) { now_ = now_.load() + time; }
  std::vector<std::string> LogLines() const;

  TIntegrations& integrations() { return integrations_; }
  PolledStation& station() { return station_; }

 private:
  IntegrationsOptions Options();

  std::atomic<SteadyTime> now_{SteadyTime(std::chrono::hours(1000))};
  mutable std::mutex logMutex_;
  std::vector<std::string> log_;
  PolledStation station_;
  TIntegrations integrations_;
};

}  // namespace vesk::test
