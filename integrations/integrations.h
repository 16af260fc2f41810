#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "integrations/alpaca_api.h"
#include "integrations/alpaca_discovery.h"
#include "integrations/alpaca_server.h"
#include "integrations/board_reading.h"
#include "integrations/integration_status.h"
#include "integrations/latest_reading.h"
#include "integrations/mqtt_publisher.h"
#include "settings/integration_settings.h"

namespace vesk {

// What an owner may change; the defaults are the program's.
struct IntegrationsOptions {
  // Each line for the event log (WriteLog), from any thread.
  IntegrationStatus::LogLine log;
  SteadyNow now = [] { return std::chrono::steady_clock::now(); };
  int discoveryPort = AlpacaDiscovery::kPort;
  // The longest pause between two attempts to reach the broker.
  std::chrono::seconds mqttLongestPause{30};
};

// The observatory integrations of one station: the Alpaca server (ObservingConditions and
// SafetyMonitor, with discovery) and the MQTT publisher, each started when its settings
// enable it. The owner (the window, or vesk-cli serve) creates it from the settings, hands it
// every successful poll and stops it before the station. Each server runs on threads of its
// own; a poll only leaves a copy of its reading.
class TIntegrations {
 public:
  TIntegrations(const TAlpacaSettings& alpaca, const TMqttSettings& mqtt,
                IntegrationsOptions options = {});
  ~TIntegrations();
  TIntegrations(const TIntegrations&) = delete;
  TIntegrations& operator=(const TIntegrations&) = delete;

  // Gets the status text after each change, from any thread, until Stop. Set before Start.
  void SetStatusListener(IntegrationStatus::Listener listener);

  // Starts what is enabled; what cannot start says why in the status and the log.
  void Start();
  void Stop();

  // The poll timer's period: a reading older than three periods is not safe.
  void SetPollPeriod(std::chrono::milliseconds period);
  // A successful poll, from the thread that presents polls; never waits on the network.
  void PollArrived(const BoardReading& reading);
  // The board's link was closed (the operator disconnected, or the board was lost): the MQTT
  // availability becomes "offline" until the next poll brings "online" back. Any thread;
  // never waits on the network.
  void LinkClosed();

  // "Alpaca: listening on 127.0.0.1:11111 | MQTT: off"
  std::string StatusText() const { return status_.Text(); }
  bool AlpacaRunning() const { return server_.Port() != 0; }
  int AlpacaPort() const { return server_.Port(); }
  int DiscoveryPort() const { return discovery_.Port(); }
  bool MqttConnected() const { return mqtt_.Connected(); }

 private:
  void StartAlpaca();

  const TAlpacaSettings alpacaSettings_;
  const bool mqttEnabled_;
  const int discoveryPort_;
  IntegrationStatus status_;
  LatestReading latest_;
  AlpacaApi api_;
  AlpacaServer server_;
  AlpacaDiscovery discovery_;
  MqttPublisher mqtt_;
};

}  // namespace vesk
