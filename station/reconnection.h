#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "link/device_identity.h"
#include "station/station.h"

namespace vesk {

// Logged before the message of a connection that failed.
inline constexpr const char* kDataLinkFatal = "Issue with data link (FATAL ERROR) : ";

// Brings a lost link back without the operator: after kFailedPollsInARow failed polls in a
// row on a connected board the port is closed and the board is looked for again, one short
// attempt (port open and version exchange) per retry period, until it answers. The owner
// drives it: the window with a timer, vesk-cli serve with its loop; nothing here waits, and
// every method runs on the station's thread.
//
// The owner's part, in order: Watch once a connection is complete; PollEnded after each
// applied poll; while Reconnecting, Attempt once per period; after a successful Attempt the
// rest of the usual connection, with Identified once the model and serial number are read,
// then Watch again, or RestoreFailed when a later step fails; Stop when the operator
// disconnects.
class Reconnection {
 public:
  static constexpr int kFailedPollsInARow = 3;
  static constexpr std::chrono::milliseconds kRetryPeriod{30000};

  explicit Reconnection(Station& station);

  // "Misc" "AutoReconnect": off, a lost link is left to the operator as before.
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Enabled() const { return enabled_; }

  // A connection to port comNum is complete: its board is remembered and its failed polls
  // are counted from here.
  void Watch(int comNum);
  // The operator's disconnection: nothing more is counted or attempted.
  void Stop();

  // Each applied poll. The kFailedPollsInARow-th failure in a row of a watched link logs
  // "Link lost -> reconnecting to COM<n>", closes the port and answers true: the owner stops
  // polling and starts the attempts.
  bool PollEnded(bool succeeded);

  // The link is lost or being restored: the operator still sees a connection.
  bool Reconnecting() const { return phase_ == Phase::Lost || phase_ == Phase::Restoring; }
  int ComNum() const { return comNum_; }

  // One attempt while the link is lost: the port opened and the version exchanged. When the
  // board answers, logs "Link restored -> COM<n>" and returns the version reply for the rest
  // of the usual connection; otherwise the port is closed again and nothing is returned.
  std::optional<DeviceIdentity> Attempt();
  // Attempt in two halves, for an owner that probes the port on another thread: whether an
  // attempt is due now, and the probe's outcome taken on the station's thread. A probe that
  // ends after the operator stopped the attempts is closed and dropped.
  bool Lost() const { return phase_ == Phase::Lost; }
  std::optional<DeviceIdentity> AttemptEnded(LinkProbe probe);
  // The restored board's model and serial number are read. Another model or serial number
  // is a new connection: its poll counters start again as a manual connection's do (true).
  // The same board's counters go on counting (false).
  bool Identified();
  // A step after the version exchange failed: logged as a failed connection is, the port
  // closed, and the attempts go on.
  void RestoreFailed(const std::string& message);

 private:
  enum class Phase { Idle, Watching, Lost, Restoring };

  Station& station_;
  bool enabled_ = true;
  Phase phase_ = Phase::Idle;
  int comNum_ = 0;
  int failedInARow_ = 0;
  // The board of the watched connection.
  std::uint8_t TypeCam_ = 0;
  std::string SerialNumber_;
};

}  // namespace vesk
