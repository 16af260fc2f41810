#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "history/tinfos_rec.h"

namespace vesk {

// The sensors an observing-conditions device may have, as the standard names them.
enum class ObservingSensor {
  CloudCover,
  DewPoint,
  Humidity,
  Pressure,
  RainRate,
  SkyBrightness,
  SkyQuality,
  SkyTemperature,
  StarFWHM,
  Temperature,
  WindDirection,
  WindGust,
  WindSpeed,
};

// The sensor of a SensorName, or of a property in lower case ("windspeed"); case does not
// matter. None for a name the standard does not know.
std::optional<ObservingSensor> SensorNamed(std::string_view name);

// Whether any board has the sensor: cloud cover, rain, sky and seeing sensors none has.
bool SomeBoardMeasures(ObservingSensor sensor);
// Whether a board of this model measures the sensor: outside temperature, humidity and dew
// point on every model, pressure and wind only with the weather module.
bool Measures(ObservingSensor sensor, std::uint8_t TypeCam);

const char* SensorDescription(ObservingSensor sensor);

// The value in the standard's units from a poll's record: °C, %, hPa at the station (the
// record holds it reduced to sea level), m/s (the record holds km/h), degrees with 0 for
// calm air. None when the record holds no valid value (a pressure word without its marker
// decodes to 0).
std::optional<double> SensorValue(ObservingSensor sensor, const TinfosRec& rec);

// The station pressure behind the record's sea-level pressure: the poll reduces it with a
// fixed 20 °C and 550 m.
double StationPressure(double seaLevelHpa);

}  // namespace vesk
