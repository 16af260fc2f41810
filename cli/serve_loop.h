#pragma once

#include <chrono>
#include <filesystem>
#include <iosfwd>
#include <optional>

#include "integrations/integrations.h"
#include "settings/integration_settings.h"
#include "station/reconnection.h"
#include "station/station.h"

namespace vesk::cli {

struct ServeOptions {
  std::filesystem::path folder;  // the program folder: settings, ports/, history, log
  int comNum = 3;
  std::chrono::duration<double> period{10.0};
  std::chrono::duration<double> retry{30.0};
  bool autoReconnect = true;
  HumidityConstants humidity;
  bool json = false;
  // The observatory integrations, each off unless its settings enable it.
  TAlpacaSettings alpaca;
  TMqttSettings mqtt;
};

// The station without a window, on the command's thread: the monitor's connection, polls,
// periodic saves and reconnection, one printed line per poll, and the observatory
// integrations on threads of their own.
class ServeLoop {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::minutes kSavePeriod{15};

  ServeLoop(const ServeOptions& options, std::ostream& out, std::ostream& err);

  // Runs until a stop signal can be read from stopFd (a signalfd), then saves the history
  // and closes the port. Returns the exit code: 1 when the board could not be connected at
  // start or the last save failed.
  int Run(int stopFd);

 private:
  void Present(const ThreadRequest& worker);
  void Poll();
  void Attempt();
  void PeriodicSave();
  Clock::time_point NextDue() const;
  int Stop(const std::string& why);

  ServeOptions options_;
  std::ostream& out_;
  std::ostream& err_;
  Station station_;
  Reconnection reconnection_;
  TIntegrations integrations_;
  long long polls_ = 0;
  Clock::time_point nextPoll_;
  Clock::time_point nextAttempt_;
  Clock::time_point nextSave_;
};

}  // namespace vesk::cli
