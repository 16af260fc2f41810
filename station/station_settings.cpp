#include "station/station_settings.h"

#include "settings/settings_file.h"

namespace vesk {

StationSettings ReadStationSettings(const TSettingsFile& file) {
  StationSettings settings;
  settings.comNum = file.ReadComNum();
  settings.device = file.ReadComDevice();
  settings.autostart = file.ReadAutostart();
  settings.fastSpeed = file.ReadFastSpeed();
  settings.autoReconnect = file.ReadAutoReconnect();
  settings.reconnectPeriod = file.ReadReconnectPeriod();
  settings.savePeriod = file.ReadSavePeriod();
  const HumidityConstants held;
  settings.humidity = {file.ReadHumiditySensorGain(held.HumiditySensorGain),
                       file.ReadHumiditySensorOffset(held.HumiditySensorOffset)};
  settings.alpaca = file.ReadAlpaca();
  settings.mqtt = file.ReadMqtt();
  settings.web = file.ReadWeb();
  return settings;
}

}  // namespace vesk
