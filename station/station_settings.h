#pragma once

#include <string>

#include "acquisition/sensor_conversions.h"
#include "settings/integration_settings.h"

namespace vesk {

class TSettingsFile;

// What the station's life takes from the settings file, read once at the start by
// ReadStationSettings; the faces may override a value (serve's --port and --interval).
struct StationSettings {
  int comNum = 3;                 // "COM" "Value"
  std::string device;             // "COM" "Device": opened in place of the port number
  bool autostart = false;         // the window connects at start
  bool fastSpeed = false;         // polls every second instead of every 10 s
  bool autoReconnect = true;      // "Misc" "AutoReconnect"
  double reconnectPeriod = 30.0;  // seconds between two attempts on a lost link
  double savePeriod = 900.0;      // seconds between two periodic saves
  HumidityConstants humidity;
  TAlpacaSettings alpaca;
  TMqttSettings mqtt;
  TWebSettings web;
};

StationSettings ReadStationSettings(const TSettingsFile& file);

}  // namespace vesk
