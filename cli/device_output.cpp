#include "cli/device_output.h"

#include "acquisition/model_type.h"
#include "acquisition/readings_text.h"
#include "cli/json_writer.h"
#include "common/datetime.h"
#include "common/number_text.h"

namespace vesk::cli {
namespace {

const char* YesNo(bool value) {
  return value ? "yes" : "no";
}

}  // namespace

std::string ModelName(const ModelType& model) {
  std::string name = model.label;
  if (name.starts_with(" [") && name.ends_with("]")) {
    name = name.substr(2, name.size() - 3);
  }
  return name;
}

std::string Printable(const std::string& text) {
  std::string printable;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    printable += byte < 0x20 || byte >= 0x7F ? FormatText("\\x%02X", byte) : std::string(1, c);
  }
  return printable;
}

std::string IdentityText(const BoardIdentification& board) {
  const DeviceIdentity& id = board.identity;
  std::string text = TextLine("Firmware:", FormatText("%d.%d (Version %s)", id.major, id.minor,
                                                      FloatToText(id.Version).c_str()));
  if (!id.typed) {
    return text + TextLine("Model type:", "1 (firmware below 2 tells no model)");
  }
  const std::string name = ModelName(id.model);
  text += TextLine("Model type:",
                   std::to_string(id.TypeCam) + " " + (name.empty() ? "(unknown)" : name));
  if (board.serialNumber) {
    text += TextLine("Serial number:", *board.serialNumber);
  }
  return text + TextLine("Hot side:", YesNo(id.DisplayTempHot)) +
         TextLine("Inside humidity:", YesNo(id.DisplayRH_int)) +
         TextLine("Lens:", YesNo(id.DriveEFlens_intf));
}

std::string IdentityJson(const BoardIdentification& board) {
  const DeviceIdentity& id = board.identity;
  JsonObject json;
  json.add("Version", id.Version)
      .add("major", id.major)
      .add("minor", id.minor)
      .add("TypeCam", id.TypeCam)
      .add("label", ModelName(id.model))
      .add("DisplayTempHot", id.DisplayTempHot)
      .add("DisplayRH_int", id.DisplayRH_int)
      .add("DriveEFlens_intf", id.DriveEFlens_intf);
  if (board.serialNumber) {
    json.add("SerialNumber", *board.serialNumber);
  }
  return json.text() + "\n";
}

std::string PollText(const DeviceIdentity& identity, const TDataOUT& data) {
  const TinfosRec& rec = data.infosRec;
  const ReadingsTexts readings = FormatReadings(rec);
  std::string text = TextLine(
      "Outside:", readings.LabelTemp + "  " + readings.LabelRH + "  dew point " + readings.LabelPR);
  text += TextLine("Inside:", readings.LabeltempInsideCamera +
                                  (identity.DisplayRH_int ? "  " + readings.LabelRH_int : ""));
  if (identity.DisplayTempHot) {
    text += TextLine("Hot plate:", readings.LabelTempHOT);
  }
  if (HasWeatherModule(identity.TypeCam)) {
    text += TextLine("Pressure:", readings.LabelPressure);
    text += TextLine("Wind:", FormatText("%1.1f km/h  %1.0f ° Az", rec.WindSpeed, rec.Windir));
  }
  text += TextLine("Heater:",
                   FormatText("%s, automatic %s, power %d %%", rec.ActiveHeater ? "on" : "off",
                              YesNo(data.AutoTempRH_Heat), data.PowerHeaterLevel));
  if (identity.DisplayTempHot) {
    TstateCoolCCD state;
    TstateCoolCCD previous;
    const CoolingTexts cooling = PresentCooling(data.StatusCooler, Now(), state, previous);
    text += TextLine("Sensors:", FormatText("day %s, cooling %s, fan %s (%d)",
                                            YesNo((data.StatusSensor & 0x01) != 0),
                                            YesNo((data.StatusSensor & 0x02) != 0),
                                            YesNo((data.StatusSensor & 0x04) != 0), data.ValueFan));
    text += TextLine("Cooling:", "mode " + cooling.StaticTextModeCooling + ", " +
                                     cooling.StaticTextCoolingState);
  }
  if (identity.DriveEFlens_intf) {
    std::string lens = FormatText("%s (first byte 0x%02X)", data.PresenceAF ? "present" : "absent",
                                  data.FirstByteAF);
    if (identity.Version >= 2.2) {
      lens +=
          FormatText(", identifier 0x%04X, name \"", data.lensID) + Printable(data.LensName) + "\"";
    }
    text += TextLine("Lens:", lens);
  }
  return text;
}

std::string PollJson(const TDataOUT& data) {
  JsonObject json;
  return AddPollFields(json, data).text() + "\n";
}

JsonObject& AddPollFields(JsonObject& json, const TDataOUT& data) {
  const TinfosRec& rec = data.infosRec;
  return json.add("TempExt", rec.TempExt)
      .add("RHExt", rec.RHExt)
      .add("TempInt", rec.TempInt)
      .add("RHInt", rec.RHInt)
      .add("TempHot", rec.TempHot)
      .add("Pressure", rec.Pressure)
      .add("Windir", rec.Windir)
      .add("WindSpeed", rec.WindSpeed)
      .add("ActiveHeater", rec.ActiveHeater != 0)
      .add("AutoTempRH_Heat", data.AutoTempRH_Heat)
      .add("PowerHeaterLevel", data.PowerHeaterLevel)
      .add("StatusSensor", data.StatusSensor)
      .add("ValueFan", data.ValueFan)
      .add("StatusCooler", data.StatusCooler)
      .add("PresenceAF", data.PresenceAF)
      .add("FirstByteAF", data.FirstByteAF)
      .add("lensID", data.lensID)
      .add("LensName", data.LensName);
}

std::string TextLine(const char* name, const std::string& value) {
  std::string line = name;
  line.resize(std::max<std::size_t>(line.size() + 1, 18), ' ');
  return line + value + "\n";
}

std::string ErrorJson(const std::string& ErrorMes) {
  return JsonObject().add("ErrorMes", ErrorMes).text() + "\n";
}

}  // namespace vesk::cli
