#include "device/heating_orders.h"

#include "acquisition/sensor_conversions.h"
#include "common/number_text.h"
#include "common/reply_reader.h"
#include "link/com_obj_rs232.h"
#include "link/order_codes.h"

namespace vesk {
namespace {

constexpr std::uint8_t kConfigTaken = 0xCA;

std::uint8_t HighByte(std::uint16_t word) {
  return static_cast<std::uint8_t>(word >> 8);
}

std::uint8_t LowByte(std::uint16_t word) {
  return static_cast<std::uint8_t>(word & 0xFF);
}

}  // namespace

HeatingThresholds GetConfig(TComObjRs232& link) {
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack({REQ_GET_CONFIG}, reply);
  const ReplyReader config(reply);
  return {config.word(0), config.word(2)};
}

void SetConfig(TComObjRs232& link, const HeatingSetup& setup) {
  const HeatingThresholds& t = setup.thresholds;
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack(
      {REQ_SET_CONFIG, HighByte(t.gSeuil_Temp_asWord), LowByte(t.gSeuil_Temp_asWord),
       HighByte(t.gSeuil_RH_asWord), LowByte(t.gSeuil_RH_asWord),
       static_cast<std::uint8_t>(setup.gAutoTempRH_Heat ? 1 : 0), setup.gPowerHeaterLevel},
      reply);
  if (ReplyReader(reply).byte(0) != kConfigTaken) {
    throw Exception("Error Message");
  }
}

std::uint8_t EnableHeater(TComObjRs232& link, std::uint8_t on) {
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack({REQ_ENABLE_HEATER, on}, reply);
  const std::uint8_t answer = ReplyReader(reply).byte(0);
  if (answer >= 2) {
    throw Exception("Link error !!");
  }
  return answer;
}

HeatingThresholdTexts FormatThresholds(const HeatingThresholds& thresholds,
                                       const HumidityConstants& humidity) {
  HeatingThresholdTexts t;
  t.Label_TempSeuilHint = FormatText("%d", thresholds.gSeuil_Temp_asWord);
  t.Label_RHSeuilHint = FormatText("%d", thresholds.gSeuil_RH_asWord);
  t.Label_TempSeuil = FormatText("%1.1f °C", CountToCelsius(thresholds.gSeuil_Temp_asWord));
  t.Label_RHSeuil = FormatText("%1.0f %%", CountToHumidity(thresholds.gSeuil_RH_asWord, humidity));
  t.logLine =
      FormatText("GetcurrentSetup->  Temperature threshold : %s°C (%s) RH threshold : %s%%RH (%s)",
                 t.Label_TempSeuil.c_str(), t.Label_TempSeuilHint.c_str(), t.Label_RHSeuil.c_str(),
                 t.Label_RHSeuilHint.c_str());
  return t;
}

std::string SetConfigLogLine(const HeatingSetup& setup) {
  // The flag reads as the numeric boolean text of the log: -1 for true.
  return FormatText(
      "SetConfig-> Temperature threshold : %d RH threshold : %d AutoHeating : %s  Power Level : "
      "%d",
      setup.thresholds.gSeuil_Temp_asWord, setup.thresholds.gSeuil_RH_asWord,
      setup.gAutoTempRH_Heat ? "-1" : "0", setup.gPowerHeaterLevel);
}

std::string EnableHeaterLogLine(std::uint8_t on, std::uint8_t answer) {
  return FormatText("Manual heating (forced): %d, AutoHeater: %d", on, answer);
}

}  // namespace vesk
