// The station's orders that change the board's settings.
#include "common/event_log.h"
#include "device/bootloader_order.h"
#include "device/cooling_orders.h"
#include "station/station.h"

namespace vesk {

HeatingThresholds Station::GetCurrentSetup() {
  const HeatingThresholds thresholds = GetConfig(Link());
  heating_.gSeuil_Temp_asWord = thresholds.gSeuil_Temp_asWord;
  heating_.gSeuil_RH_asWord = thresholds.gSeuil_RH_asWord;
  thresholdsReadBack_ = true;
  const HeatingThresholdTexts texts = FormatThresholds(thresholds, humidity_);
  if (thresholdsPresenter_) {
    thresholdsPresenter_(texts);
  }
  WriteLog(texts.logLine);
  return thresholds;
}

void Station::SetConfig() {
  const HeatingSetup setup{{heating_.gSeuil_Temp_asWord, heating_.gSeuil_RH_asWord},
                           heating_.gAutoTempRH_Heat,
                           heating_.gPowerHeaterLevel};
  vesk::SetConfig(Link(), setup);
  WriteLog(SetConfigLogLine(setup));
}

void Station::UpdateSetup(const HeatingSetup& setup) {
  heating_.gPowerHeaterLevel = setup.gPowerHeaterLevel;
  heating_.gSeuil_Temp_asWord = setup.thresholds.gSeuil_Temp_asWord;
  heating_.gSeuil_RH_asWord = setup.thresholds.gSeuil_RH_asWord;
  heating_.gAutoTempRH_Heat = setup.gAutoTempRH_Heat;
  SetConfig();
  GetCurrentSetup();
}

void Station::SetAutoHeating(bool on) {
  heating_.gAutoTempRH_Heat = on;
  if (!thresholdsReadBack_) {
    GetCurrentSetup();
  }
  SetConfig();
}

std::uint8_t Station::EnableHeater(std::uint8_t on) {
  const std::uint8_t answer = vesk::EnableHeater(Link(), on);
  WriteLog(EnableHeaterLogLine(on, answer));
  return answer;
}

void Station::SetManualCooler(bool on) {
  vesk::SetManualCooler(Link(), on);
}

void Station::SetAutoCooler(bool on) {
  vesk::SetAutoCooler(Link(), on);
}

IdentityAnswer Station::SetTypeAndSerial(std::uint8_t type, std::uint32_t serial) {
  return vesk::SetTypeAndSerial(Link(), type, serial);
}

void Station::SetBootloaderMode() {
  vesk::SetBootloaderMode(Link());
}

}  // namespace vesk
