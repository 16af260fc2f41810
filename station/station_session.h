#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "history/history_load.h"
#include "station/reconnection.h"
#include "station/station.h"
#include "station/station_observer.h"
#include "station/station_settings.h"

namespace vesk {

class SessionIntegrations;

// The station's whole life, written once for every face: the settings it was built from, the
// history load, the connection sequence with its log lines, the polls, the reconnection of
// a lost link, the periodic and final saves, the observatory integrations and the close. A
// face (the window with its Qt timers, vesk-cli serve with its poll() loop) drives it with
// its own clock and presents what its StationObserver is told. Every method runs on the
// face's thread (the session's thread); nothing here waits for a timer.
class StationSession {
 public:
  struct Options {
    // Reconnection attempts (the port opened, the version exchanged: up to the link's read
    // time-out) run on a thread of their own and end on the session's thread through the
    // station's post; off, they run in ReconnectTick (serve, whose thread may wait).
    bool attemptsOffThread = false;
  };

  // folder: the program folder (settings, ports/, history, log). post: queues a call on the
  // session's thread (polls that do not wait, attempts off the thread).
  StationSession(std::filesystem::path folder, StationSettings settings, Station::PostToMain post,
                 StationObserver& observer, Options options);
  StationSession(std::filesystem::path folder, StationSettings settings, Station::PostToMain post,
                 StationObserver& observer);
  ~StationSession();
  StationSession(const StationSession&) = delete;
  StationSession& operator=(const StationSession&) = delete;

  Station& station() { return station_; }
  const Station& station() const { return station_; }
  const StationSettings& Settings() const { return settings_; }
  const std::filesystem::path& Folder() const { return station_.ChemExec(); }

  // The start, in this order: "Application opened" (before anything else is read), the
  // settings applied, the history loaded, the integrations started (before the connection,
  // so its first poll already reaches the observatory).
  static void LogOpened();
  void ApplySettings(const StationSettings& settings);
  void LoadHistory(const LoadProgress& progress = {});
  void StartIntegrations();
  // The operator changed the observatory settings (already stored): the integrations start
  // again with them; the poll period and the latest reading carry over with the next poll.
  void RestartIntegrations(const TAlpacaSettings& alpaca, const TMqttSettings& mqtt);
  // The device opened in place of the port number from the next connection on (empty: the
  // port number).
  void SetDevice(const std::string& device);
  // Whether the settings enable an integration (the window then shows their status).
  bool IntegrationsEnabled() const;
  std::string IntegrationsStatusText() const;

  // The operator's connection to port comNum: counters zeroed, the port opened, the
  // version read, then the rest of the usual connection. A failure is logged as "Issue
  // with data link (FATAL ERROR) : " + its message, the port closed and ConnectFailed told;
  // returns whether the board is connected.
  bool Connect(int comNum);
  // The operator's disconnection: no more attempts, the poll in progress ended, the port
  // closed.
  void Disconnect();
  bool Connected() const { return station_.Connected(); }
  // The link is lost and looked for: the operator still sees a connection.
  bool Reconnecting() const { return reconnection_.Reconnecting(); }

  // Starts a poll; with wait, returns once it is applied. False while one runs.
  bool Poll(bool wait, bool correctWindSpeed = false, const std::string& factorText = "");
  // The poll timer's period, for the integrations: a reading older than three periods is
  // not safe.
  void SetPollPeriod(std::chrono::milliseconds period);
  // Once per reconnection period while Reconnecting: one attempt to find the board again.
  void ReconnectTick();
  // An attempt runs on its thread, or its result waits for the session's thread.
  bool AttemptRunning() const { return attemptInFlight_; }

  // The history saved now (".back" kept); raises the failure.
  void SaveHistory(const LoadProgress& progress = {});
  // The periodic save: the history and then alsoSave (the window's settings), logged as
  // "Data period recording OK -- each mins " or the error; Saved told. Never raises.
  bool PeriodicSave(const std::function<void()>& alsoSave = {});

  // The history saved now, a failure logged as "The history could not be saved : " + its
  // message (that line into failure); whether it was saved.
  bool SaveLogged(std::string* failure = nullptr);
  // The desktop session ends: the history saved (logged; a failure never keeps the session
  // from ending).
  void SaveAtSessionEnd();
  // A power notification (4: suspending, 7: resumed, others only logged); saves when the
  // computer suspends or resumes, raising a failed save. True after a resume: the face
  // refreshes its charts, then calls ResumedFromHibernation.
  bool PowerNotified(int code);
  void ResumedFromHibernation();

  // The close, before the face lets go of its own parts: the poll in progress ended, the
  // integrations stopped (the observatory hears "offline"), the history saved (SaveLogged)
  // and the port closed.
  // Returns whether the history was saved; the failure's line in failure. Runs once.
  bool Shutdown(std::string* failure = nullptr);
  // The integrations alone stopped: a start that ends before the board answered.
  void StopIntegrations();
  // The last line of every run.
  static void LogClosed();

 private:
  void Present(const ThreadRequest& sender);
  // Everything after the version exchange, for the operator's connection and a restored
  // link alike; raises the first failure.
  // Whether it was a new connection (false: the same board found again).
  bool CompleteConnection(DeviceIdentity identity, bool restoring);
  void AttemptEnded(LinkProbe probe);
  // The rest of the usual connection once an attempt found the board (nothing otherwise).
  void Restore(const std::optional<DeviceIdentity>& version);
  void TakeProbe();
  // Waits for an attempt's thread and closes a port it opened that no one took.
  void DropAttempt();

  StationSettings settings_;
  StationObserver& observer_;
  Options options_;
  Station::PostToMain post_;
  Station station_;
  Reconnection reconnection_;
  std::unique_ptr<SessionIntegrations> integrations_;
  std::chrono::milliseconds pollPeriod_{10000};
  bool shutDown_ = false;
  // The attempt off the session's thread. It leaves its probe in probe_ and posts a call
  // that takes it, which checks alive_ so a session gone meanwhile is never reached; the
  // probe never waits in the queue itself, so a dropped attempt never keeps the port.
  bool attemptInFlight_ = false;
  std::mutex probeMutex_;  // protects probe_
  std::optional<LinkProbe> probe_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  // Last: it is joined before the probe it writes goes.
  std::jthread attempt_;
};

}  // namespace vesk
