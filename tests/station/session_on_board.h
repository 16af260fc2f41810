#pragma once

#include <string>
#include <vector>

#include "acquisition/thread_request.h"
#include "station/station_session.h"
#include "tests/station/station_on_board.h"

namespace vesk::test {

// What a face is told, in order, as short texts ("version", "model 23", "serial 127512",
// "identified new", "connected same", "poll S", "poll F", "lost", "failed <text>", "saved").
struct RecordingObserver : StationObserver {
  void VersionRead(const DeviceIdentity& identity, bool restoring) override {
    told.push_back(std::string("version") + (restoring ? " restoring" : ""));
    (void)identity;
  }
  void ModelRead(const DeviceIdentity& identity) override {
    told.push_back("model " + std::to_string(identity.TypeCam));
  }
  void SerialNumberRead(const std::string& serialNumber) override {
    told.push_back("serial " + serialNumber);
  }
  void Identified(bool newConnection, bool) override {
    told.push_back(newConnection ? "identified new" : "identified same");
  }
  void Connected(bool newConnection) override {
    told.push_back(newConnection ? "connected new" : "connected same");
  }
  void ConnectFailed(const std::string& text) override { told.push_back("failed " + text); }
  void PollApplied(const ThreadRequest& sender) override {
    told.push_back(sender.ErrorMes.empty() ? "poll S" : "poll F");
  }
  void LinkLost() override { told.push_back("lost"); }
  void Saved(bool succeeded) override { told.push_back(succeeded ? "saved" : "save failed"); }

  std::vector<std::string> told;
};

// A station session on a simulated board; everything runs on the test's thread, as in
// vesk-cli serve.
struct SessionOnBoard : BoardOnPort {
  using BoardOnPort::BoardOnPort;

  // Polls as the string says, 'S' a reading, 'F' a failed one; whether the link was lost.
  bool polls(const std::string& outcomes) {
    const auto before = observer.told.size();
    for (const char outcome : outcomes) {
      failReplies(outcome == 'F');
      session.Poll(true);
    }
    failReplies(false);
    for (auto i = before; i < observer.told.size(); ++i) {
      if (observer.told[i] == "lost") {
        return true;
      }
    }
    return false;
  }

  // The position of the first log text starting with `start`, from `from` on; -1 if none.
  long indexOf(const std::string& start, long from = 0) const {
    const auto texts = log.texts();
    for (auto i = static_cast<std::size_t>(std::max(from, 0L)); i < texts.size(); ++i) {
      if (texts[i].starts_with(start)) {
        return static_cast<long>(i);
      }
    }
    return -1;
  }

  RecordingObserver observer;
  StationSession session{folder.path(), StationSettings{},
                         [](std::function<void()> call) { call(); }, observer};
  Station& station = session.station();
};

}  // namespace vesk::test
