#pragma once

#include <string>

#include "link/device_identity.h"

namespace vesk {

class ThreadRequest;

// What a face of the station (the window, vesk-cli serve) is told by its StationSession, to
// present it. Every hook runs on the session's thread unless it says otherwise; none needs
// to do anything. A hook that raises during the connection fails the connection.
class StationObserver {
 public:
  virtual ~StationObserver() = default;

  // The connection's steps, each told before the next may fail: the version read ("Startup
  // -> " logged), then from firmware 2 on the model applied and, from firmware 3 on, the
  // serial number read. restoring: a lost link found again.
  virtual void VersionRead(const DeviceIdentity& /*identity*/, bool /*restoring*/) {}
  virtual void ModelRead(const DeviceIdentity& /*identity*/) {}
  virtual void SerialNumberRead(const std::string& /*serialNumber*/) {}
  // The board is identified; its heating setup and first poll come next. newConnection:
  // false for the same board found again after a lost link (its counters go on).
  virtual void Identified(bool /*newConnection*/, bool /*restoring*/) {}
  // The connection is complete: the face starts its poll clock.
  virtual void Connected(bool /*newConnection*/) {}
  // The operator's connection failed; text is the line logged.
  virtual void ConnectFailed(const std::string& /*text*/) {}

  // Each ended poll, after the station has taken its reading (and put it on the disk).
  virtual void PollApplied(const ThreadRequest& /*sender*/) {}
  // Polls failed three times in a row: the port is closed; the face stops polling and
  // calls ReconnectTick once per reconnection period until Connected.
  virtual void LinkLost() {}
  // A periodic save ended; its line is logged.
  virtual void Saved(bool /*succeeded*/) {}

  // From any thread: the observatory integrations' status after each change, and the
  // event log's trouble (a file it cannot write, then writing again).
  virtual void IntegrationsStatus(const std::string& /*text*/) {}
  // failing: the file refuses lines (text says why); else it takes them again.
  virtual void LogTrouble(const std::string& /*text*/, bool /*failing*/) {}
};

}  // namespace vesk
