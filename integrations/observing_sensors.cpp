#include "integrations/observing_sensors.h"

#include <cmath>

#include "acquisition/model_type.h"
#include "acquisition/reply_decoders.h"
#include "http/url_form.h"
#include "plots/dew_point.h"

namespace vesk {
namespace {

// Which boards have the sensor.
enum class Fitted { Never, Always, WeatherModule };

struct SensorEntry {
  ObservingSensor sensor;
  std::string_view name;
  Fitted fitted;
  const char* description;
};

constexpr SensorEntry kSensors[] = {
    {ObservingSensor::CloudCover, "CloudCover", Fitted::Never, ""},
    {ObservingSensor::DewPoint, "DewPoint", Fitted::Always,
     "Dew point of the outside air, from the board's temperature and humidity"},
    {ObservingSensor::Humidity, "Humidity", Fitted::Always, "Relative humidity of the outside air"},
    {ObservingSensor::Pressure, "Pressure", Fitted::WeatherModule,
     "Barometric pressure at the weather module"},
    {ObservingSensor::RainRate, "RainRate", Fitted::Never, ""},
    {ObservingSensor::SkyBrightness, "SkyBrightness", Fitted::Never, ""},
    {ObservingSensor::SkyQuality, "SkyQuality", Fitted::Never, ""},
    {ObservingSensor::SkyTemperature, "SkyTemperature", Fitted::Never, ""},
    {ObservingSensor::StarFWHM, "StarFWHM", Fitted::Never, ""},
    {ObservingSensor::Temperature, "Temperature", Fitted::Always, "Temperature of the outside air"},
    {ObservingSensor::WindDirection, "WindDirection", Fitted::WeatherModule,
     "Wind vane of the weather module"},
    {ObservingSensor::WindGust, "WindGust", Fitted::Never, ""},
    {ObservingSensor::WindSpeed, "WindSpeed", Fitted::WeatherModule,
     "Anemometer of the weather module"},
};

const SensorEntry& EntryOf(ObservingSensor sensor) {
  for (const auto& entry : kSensors) {
    if (entry.sensor == sensor) {
      return entry;
    }
  }
  return kSensors[0];
}

constexpr double kKmhPerMs = 3.6;

}  // namespace

std::optional<ObservingSensor> SensorNamed(std::string_view name) {
  for (const auto& entry : kSensors) {
    if (SameLetters(entry.name, name)) {
      return entry.sensor;
    }
  }
  return std::nullopt;
}

bool SomeBoardMeasures(ObservingSensor sensor) {
  return EntryOf(sensor).fitted != Fitted::Never;
}

bool Measures(ObservingSensor sensor, std::uint8_t TypeCam) {
  const Fitted fitted = EntryOf(sensor).fitted;
  return fitted == Fitted::Always || (fitted == Fitted::WeatherModule && HasWeatherModule(TypeCam));
}

const char* SensorDescription(ObservingSensor sensor) {
  return EntryOf(sensor).description;
}

double StationPressure(double seaLevelHpa) {
  return seaLevelHpa / SeaLevelPressure(20, 550, 1.0);
}

std::optional<double> SensorValue(ObservingSensor sensor, const TinfosRec& rec) {
  // The corrected wind speed has no lower bound on the board's side; still air is the
  // least the anemometer can mean.
  const double windMs = std::max(0.0, rec.WindSpeed / kKmhPerMs);
  double value = 0;
  switch (sensor) {
    case ObservingSensor::Temperature:
      value = rec.TempExt;
      break;
    case ObservingSensor::Humidity:
      value = rec.RHExt;
      break;
    case ObservingSensor::DewPoint:
      value = DewPoint(rec.TempExt, rec.RHExt);
      break;
    case ObservingSensor::Pressure:
      if (!(rec.Pressure > 0)) {
        return std::nullopt;
      }
      value = StationPressure(rec.Pressure);
      break;
    case ObservingSensor::WindSpeed:
      value = windMs;
      break;
    case ObservingSensor::WindDirection:
      // North is 0, never 360; calm air has no direction.
      value = windMs > 0 ? std::fmod(rec.Windir, 360.0) : 0;
      break;
    default:
      return std::nullopt;
  }
  if (!std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace vesk
