#pragma once

#include <string>

namespace vesk {

// Section "Alpaca": the observatory's HTTP server for the readings and a safety flag.
struct TAlpacaSettings {
  bool Enabled = false;
  int Port = 11111;
  // The address the server listens on; 0.0.0.0 opens it to the network.
  std::string Bind = "127.0.0.1";
  // Above this outside humidity (%) the sky is not safe.
  double UnsafeHumidity = 90;
  // The outside temperature must stay more than this many °C above the dew point.
  double DewMargin = 2.0;
  bool operator==(const TAlpacaSettings&) const = default;
};

// Section "MQTT": each poll published to a broker, with Home Assistant discovery.
struct TMqttSettings {
  bool Enabled = false;
  std::string Host = "127.0.0.1";
  int Port = 1883;
  std::string User;  // empty: connects without a login
  std::string Pass;
  // Base of every topic; empty stands for "vesk/" and the board's serial number.
  std::string Topic;
  bool operator==(const TMqttSettings&) const = default;
};

// Section "Web": the station's web page (readings, charts, history download, operations
// after a login).
struct TWebSettings {
  bool Enabled = false;
  int Port = 8080;
  // The address the page is served on; 0.0.0.0 opens it to the network.
  std::string Bind = "127.0.0.1";
  bool operator==(const TWebSettings&) const = default;
};

}  // namespace vesk
