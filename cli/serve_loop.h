#pragma once

#include <chrono>
#include <filesystem>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>

#include "cli/serve_wait.h"
#include "cli/session_queue.h"
#include "station/station_observer.h"
#include "station/station_session.h"
#include "station/station_settings.h"

namespace vesk::cli {

struct ServeOptions {
  std::filesystem::path folder;  // the program folder: settings, ports/, history, log
  // From the settings file, with --port and --interval applied.
  StationSettings settings;
  std::chrono::duration<double> period{10.0};
  bool json = false;
};

// The station without a window: the station session driven on the command's thread by a
// loop on serve's wait (serve_wait.h), one printed line per poll. The session does the rest
// (connection, polls, reconnection, saves, the observatory integrations on threads of their own).
class ServeLoop : private StationObserver {
 public:
  using Clock = std::chrono::steady_clock;

  // wait: the system's stop requests, taken before any thread started.
  ServeLoop(const ServeOptions& options, ServeWait& wait, std::ostream& out, std::ostream& err);

  // Runs until the system asks serve to stop, then saves the history and closes the port.
  // Returns the exit code: 1 when the board could not be connected at start or the last
  // save failed.
  int Run();

 private:
  // What the session tells.
  void ConnectFailed(const std::string& text) override;
  void PollApplied(const ThreadRequest& worker) override;
  void LinkLost() override;
  void Connected(bool newConnection) override;
  void LogTrouble(const std::string& text, bool failing) override;

  void Poll();
  // Standard error is written from the log's threads too.
  void PrintError(const std::string& text);
  Clock::time_point NextDue() const;
  Clock::duration Retry() const;
  int Stop(const std::string& why);

  ServeOptions options_;
  std::ostream& out_;
  std::ostream& err_;
  std::mutex errMutex_;  // protects err_
  ServeWait& wait_;
  SessionQueue queue_;  // before the session, which posts to it
  StationSession session_;
  long long polls_ = 0;
  Clock::time_point nextPoll_;
  Clock::time_point nextAttempt_;
  Clock::time_point nextSave_;
};

}  // namespace vesk::cli
