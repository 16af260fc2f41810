#include "cli/settings_output.h"

#include "acquisition/readings_text.h"
#include "cli/device_output.h"
#include "cli/json_writer.h"
#include "common/datetime.h"
#include "common/number_text.h"
#include "device/heating_orders.h"

namespace vesk::cli {
namespace {

const char* YesNo(bool value) {
  return value ? "yes" : "no";
}

const char* OnOff(bool value) {
  return value ? "on" : "off";
}

CoolingTexts CoolingOf(const TDataOUT& data) {
  TstateCoolCCD state;
  TstateCoolCCD previous;
  return PresentCooling(data.StatusCooler, Now(), state, previous);
}

}  // namespace

std::string HeatingText(const HeatingState& heating, const HumidityConstants& humidity) {
  const HeatingThresholdTexts t =
      FormatThresholds({heating.gSeuil_Temp_asWord, heating.gSeuil_RH_asWord}, humidity);
  return TextLine("Temperature:", t.Label_TempSeuil + " (count " + t.Label_TempSeuilHint + ")") +
         TextLine("Humidity:", t.Label_RHSeuil + " (count " + t.Label_RHSeuilHint + ")") +
         TextLine("Power max:", FormatText("%d %%", heating.gPowerHeaterLevel)) +
         TextLine("Automatic:", YesNo(heating.gAutoTempRH_Heat)) +
         TextLine("Heater:", OnOff(heating.gHeaterON));
}

std::string HeatingJson(const HeatingState& heating, const HumidityConstants& humidity) {
  return JsonObject()
             .add("TempSeuil", CountToCelsius(heating.gSeuil_Temp_asWord))
             .add("gSeuil_Temp_asWord", heating.gSeuil_Temp_asWord)
             .add("RHSeuil", CountToHumidity(heating.gSeuil_RH_asWord, humidity))
             .add("gSeuil_RH_asWord", heating.gSeuil_RH_asWord)
             .add("gPowerHeaterLevel", heating.gPowerHeaterLevel)
             .add("gAutoTempRH_Heat", heating.gAutoTempRH_Heat)
             .add("gHeaterON", heating.gHeaterON)
             .text() +
         "\n";
}

std::string HeaterText(std::uint8_t on, std::uint8_t autoHeater) {
  std::string text =
      TextLine("Forced heater:", OnOff(on != 0)) + TextLine("Automatic:", YesNo(autoHeater != 0));
  if (autoHeater != 0) {
    text += "(automatic heating is on: the board heats by its thresholds, not by this order)\n";
  }
  return text;
}

std::string HeaterJson(std::uint8_t on, std::uint8_t autoHeater) {
  return JsonObject().add("on", on).add("AutoHeater", autoHeater).text() + "\n";
}

std::string CoolingText(const TDataOUT& data) {
  const CoolingTexts cooling = CoolingOf(data);
  return TextLine("Cooling mode:", cooling.StaticTextModeCooling) +
         TextLine("Cooling:", cooling.StaticTextCoolingState);
}

std::string CoolingJson(const TDataOUT& data) {
  const CoolingTexts cooling = CoolingOf(data);
  return JsonObject()
             .add("StatusCooler", data.StatusCooler)
             .add("StaticTextModeCooling", cooling.StaticTextModeCooling)
             .add("StaticTextCoolingState", cooling.StaticTextCoolingState)
             .text() +
         "\n";
}

}  // namespace vesk::cli
