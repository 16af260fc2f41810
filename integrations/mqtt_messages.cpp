#include "integrations/mqtt_messages.h"

#include <cctype>

#include <nlohmann/json.hpp>

#include "acquisition/model_type.h"
#include "common/number_text.h"
#include "link/device_identity.h"

namespace vesk {
namespace {

using Json = nlohmann::ordered_json;

enum class Fitted { Always, InsideHumidity, HotSide, WeatherModule };

struct Reading {
  const char* field;  // as in the state
  const char* name;
  const char* deviceClass;  // none for the wind direction
  const char* unit;
  Fitted fitted;
};

constexpr Reading kReadings[] = {
    {"TempExt", "Outside temperature", "temperature", "°C", Fitted::Always},
    {"RHExt", "Outside humidity", "humidity", "%", Fitted::Always},
    {"TempInt", "Inside temperature", "temperature", "°C", Fitted::Always},
    {"RHInt", "Inside humidity", "humidity", "%", Fitted::InsideHumidity},
    {"TempHot", "Dome base temperature", "temperature", "°C", Fitted::HotSide},
    {"Pressure", "Pressure at sea level", "pressure", "hPa", Fitted::WeatherModule},
    {"WindSpeed", "Wind speed", "wind_speed", "km/h", Fitted::WeatherModule},
    {"Windir", "Wind direction", nullptr, "°", Fitted::WeatherModule},
};

bool Measures(const Reading& entry, const BoardReading& reading) {
  switch (entry.fitted) {
    case Fitted::Always:
      return true;
    case Fitted::InsideHumidity:
      return reading.DisplayRH_int;
    case Fitted::HotSide:
      return reading.DisplayTempHot;
    case Fitted::WeatherModule:
      return HasWeatherModule(reading.TypeCam);
  }
  return false;
}

std::string SerialOf(const BoardReading& reading) {
  std::string serial;
  for (const char c : reading.SerialNumber) {
    serial += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ? c : '_';
  }
  return serial.empty() ? "unknown" : serial;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

// " [Astel9 Weather]" -> "Astel9 Weather": the table's label is made for the status bar.
std::string ModelName(const BoardReading& reading) {
  std::string name = ModelTypeOf(reading.TypeCam, reading.Version).label;
  if (name.starts_with(" [") && name.ends_with("]")) {
    name = name.substr(2, name.size() - 3);
  }
  return name.empty() ? "Model " + std::to_string(reading.TypeCam) : name;
}

// The board's texts are one 8-bit character per byte; JSON wants UTF-8.
std::string Latin1ToUtf8(const std::string& text) {
  std::string utf8;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

// The topic comes from the settings file and may hold any byte: never an exception for it.
std::string Text(const Json& json) {
  return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::string NodeId(const BoardReading& reading) {
  return "vesk_" + SerialOf(reading);
}

std::string BaseTopic(const std::string& setting, const BoardReading& reading) {
  return setting.empty() ? "vesk/" + SerialOf(reading) : setting;
}

std::string StateTopic(const std::string& base) {
  return base + "/state";
}

std::string AvailabilityTopic(const std::string& base) {
  return base + "/availability";
}

std::string StateJson(const TDataOUT& data) {
  const TinfosRec& rec = data.infosRec;
  Json json;
  json["TempExt"] = rec.TempExt;
  json["RHExt"] = rec.RHExt;
  json["TempInt"] = rec.TempInt;
  json["RHInt"] = rec.RHInt;
  json["TempHot"] = rec.TempHot;
  json["Pressure"] = rec.Pressure;
  json["Windir"] = rec.Windir;
  json["WindSpeed"] = rec.WindSpeed;
  json["ActiveHeater"] = rec.ActiveHeater != 0;
  json["AutoTempRH_Heat"] = data.AutoTempRH_Heat;
  json["PowerHeaterLevel"] = data.PowerHeaterLevel;
  json["StatusSensor"] = data.StatusSensor;
  json["ValueFan"] = data.ValueFan;
  json["StatusCooler"] = data.StatusCooler;
  json["PresenceAF"] = data.PresenceAF;
  json["FirstByteAF"] = data.FirstByteAF;
  json["lensID"] = data.lensID;
  json["LensName"] = Latin1ToUtf8(data.LensName);
  // Infinite and undefined values are written as null: JSON has no number for them.
  return Text(json);
}

std::vector<MqttMessage> DiscoveryConfigs(const BoardReading& reading, const std::string& base) {
  const std::string node = NodeId(reading);
  const Json device = {{"identifiers", {node}},
                       {"name", "Vesk " + SerialOf(reading)},
                       {"model", ModelName(reading)},
                       {"manufacturer", "Vesk"},
                       {"sw_version", FloatToText(reading.Version)}};
  std::vector<MqttMessage> configs;
  for (const Reading& entry : kReadings) {
    const std::string object = Lower(entry.field);
    MqttMessage config{"homeassistant/sensor/" + node + "/" + object + "/config", ""};
    if (Measures(entry, reading)) {
      Json json;
      json["name"] = entry.name;
      json["unique_id"] = node + "_" + object;
      json["state_topic"] = StateTopic(base);
      json["value_template"] = std::string("{{ value_json.") + entry.field + " }}";
      json["unit_of_measurement"] = entry.unit;
      if (entry.deviceClass) {
        json["device_class"] = entry.deviceClass;
      }
      json["state_class"] = "measurement";
      json["availability_topic"] = AvailabilityTopic(base);
      json["device"] = device;
      config.payload = Text(json);
    }
    configs.push_back(std::move(config));
  }
  return configs;
}

}  // namespace vesk
