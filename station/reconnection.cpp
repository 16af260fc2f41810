#include "station/reconnection.h"

#include <exception>

#include "common/event_log.h"
#include "station/station.h"

namespace vesk {
namespace {

// A serial number that could not be read tells nothing about which board answered.
bool SameSerialNumber(const std::string& a, const std::string& b) {
  return a == b || a == "xxxxxx" || b == "xxxxxx";
}

}  // namespace

Reconnection::Reconnection(Station& station) : station_(station) {}

void Reconnection::Watch(int comNum) {
  phase_ = Phase::Watching;
  comNum_ = comNum;
  failedInARow_ = 0;
  TypeCam_ = station_.Identity().TypeCam;
  SerialNumber_ = station_.Identity().SerialNumber;
}

void Reconnection::Stop() {
  phase_ = Phase::Idle;
  failedInARow_ = 0;
}

bool Reconnection::PollEnded(bool succeeded) {
  if (phase_ != Phase::Watching) {
    return false;  // the polls of a connection in progress are not the link's to judge
  }
  failedInARow_ = succeeded ? 0 : failedInARow_ + 1;
  if (!enabled_ || failedInARow_ < kFailedPollsInARow) {
    return false;
  }
  phase_ = Phase::Lost;
  failedInARow_ = 0;
  WriteLog("Link lost -> reconnecting to COM" + std::to_string(comNum_));
  station_.ConnectionFailed();
  return true;
}

std::optional<DeviceIdentity> Reconnection::Attempt() {
  if (phase_ != Phase::Lost) {
    return std::nullopt;
  }
  return AttemptEnded(Station::ProbeLink(station_.ChemExec(), comNum_, station_.Device()));
}

std::optional<DeviceIdentity> Reconnection::AttemptEnded(LinkProbe probe) {
  if (phase_ != Phase::Lost) {
    return std::nullopt;
  }
  try {
    // The link logs its own failure, as it does for the operator's connection.
    const DeviceIdentity version = station_.AdoptLink(std::move(probe));
    phase_ = Phase::Restoring;
    WriteLog("Link restored -> COM" + std::to_string(comNum_));
    return version;
  } catch (const std::exception&) {
    station_.ConnectionFailed();
    return std::nullopt;
  }
}

bool Reconnection::Identified() {
  const IdentityState& now = station_.Identity();
  const bool newBoard =
      now.TypeCam != TypeCam_ || !SameSerialNumber(now.SerialNumber, SerialNumber_);
  if (newBoard) {
    station_.BeginConnection();
  }
  return newBoard;
}

void Reconnection::RestoreFailed(const std::string& message) {
  phase_ = Phase::Lost;
  WriteLog(kDataLinkFatal + message);
  station_.ConnectionFailed();
}

}  // namespace vesk
