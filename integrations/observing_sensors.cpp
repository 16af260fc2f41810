#include "integrations/observing_sensors.h"

#include <cmath>

#include "acquisition/model_type.h"
#include "acquisition/reply_decoders.h"
#include "http/url_form.h"
#include "plots/dew_point.h"

namespace vesk {
namespace {

// Which boards have the sensor.
enum class SensorFitted { Never, Always, WeatherModule };

struct SensorEntry {
  ObservingSensor sensor;
  std::string_view name;
  SensorFitted fitted;
  const char* description;
};

constexpr SensorEntry kSensors[] = {
    {ObservingSensor::CloudCover, "CloudCover", SensorFitted::Never, ""},
    {ObservingSensor::DewPoint, "DewPoint", SensorFitted::Always,
     "Dew point of the outside air, from the board's temperature and humidity"},
    {ObservingSensor::Humidity, "Humidity", SensorFitted::Always,
     "Relative humidity of the outside air"},
    {ObservingSensor::Pressure, "Pressure", SensorFitted::WeatherModule,
     "Barometric pressure at the weather module"},
    {ObservingSensor::RainRate, "RainRate", SensorFitted::Never, ""},
    {ObservingSensor::SkyBrightness, "SkyBrightness", SensorFitted::Never, ""},
    {ObservingSensor::SkyQuality, "SkyQuality", SensorFitted::Never, ""},
    {ObservingSensor::SkyTemperature, "SkyTemperature", SensorFitted::Never, ""},
    {ObservingSensor::StarFWHM, "StarFWHM", SensorFitted::Never, ""},
    {ObservingSensor::Temperature, "Temperature", SensorFitted::Always,
     "Temperature of the outside air"},
    {ObservingSensor::WindDirection, "WindDirection", SensorFitted::WeatherModule,
     "Wind vane of the weather module"},
    {ObservingSensor::WindGust, "WindGust", SensorFitted::Never, ""},
    {ObservingSensor::WindSpeed, "WindSpeed", SensorFitted::WeatherModule,
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
  return EntryOf(sensor).fitted != SensorFitted::Never;
}

bool Measures(ObservingSensor sensor, std::uint8_t TypeCam) {
  const SensorFitted fitted = EntryOf(sensor).fitted;
  return fitted == SensorFitted::Always ||
         (fitted == SensorFitted::WeatherModule && HasWeatherModule(TypeCam));
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
