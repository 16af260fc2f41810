#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "integrations/board_reading.h"
#include "integrations/integration_status.h"
#include "settings/integration_settings.h"

struct mosquitto;

namespace vesk {

// Publishes each poll to an MQTT broker: the retained state, the availability with a last
// will of "offline", and Home Assistant's discovery configs. One thread of its own owns the
// connection and does every network step, reconnecting with a growing pause; Publish only
// hands the reading over, so a poll never waits on the broker.
class MqttPublisher {
 public:
  MqttPublisher(TMqttSettings settings, IntegrationStatus& status,
                std::chrono::seconds longestPause = std::chrono::seconds(30));
  ~MqttPublisher();
  MqttPublisher(const MqttPublisher&) = delete;
  MqttPublisher& operator=(const MqttPublisher&) = delete;

  void Start();
  // Publishes "offline", disconnects and ends the thread.
  void Stop();
  // Any thread; the newest reading replaces one not yet published.
  void Publish(const BoardReading& reading);
  // Any thread: the board's link was closed, so its availability becomes "offline" (retained)
  // until the next reading; a reading handed over before and not yet published is dropped.
  void LinkClosed();
  // The broker accepted the connection and it has not been lost since.
  bool Connected() const;

 private:
  void Run();
  // The board's identity decides the topics: a new one means a new client with its will.
  void Adopt(const BoardReading& reading);
  void BoardOffline();
  void Connect();
  void Serve(std::chrono::milliseconds wait);
  void Lost(const std::string& why);
  void Flush();
  void PublishAll();
  void Send(const std::string& topic, const std::string& payload);
  void Disconnect();
  void SetStatus(const std::string& text);

  static void OnConnect(struct mosquitto* client, void* self, int code);
  static void OnDisconnect(struct mosquitto* client, void* self, int code);

  const TMqttSettings settings_;
  const std::string where_;  // "host:port"
  IntegrationStatus& status_;
  const std::chrono::seconds longestPause_;

  // Protects pending_, closed_, stop_ and connected_.
  mutable std::mutex mutex_;
  std::optional<BoardReading> pending_;
  bool closed_ = false;  // LinkClosed not yet published
  bool stop_ = true;     // also while not started: Publish drops the reading
  bool connected_ = false;
  // A byte in it wakes the thread: a reading, or the stop.
  int wakePipe_[2] = {-1, -1};
  std::thread thread_;

  // The publisher's thread alone touches these.
  struct mosquitto* client_ = nullptr;
  bool linkUp_ = false;  // a connection is being made or in use
  std::string refusal_;  // the broker's answer to the last refused connection
  std::optional<BoardReading> latest_;
  bool boardOnline_ = true;  // the availability published: no LinkClosed since the last reading
  std::string base_;
  std::string configuredFor_;  // the identity the discovery configs were sent for
  std::chrono::seconds pause_{1};
  std::chrono::steady_clock::time_point nextAttempt_{};
  std::string lastProblem_;  // logged once until the connection comes up
};

}  // namespace vesk
