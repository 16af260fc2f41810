// The values an observatory reads: the record's units turned into the standard's, and the
// safety rule.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "acquisition/reply_decoders.h"
#include "integrations/observing_sensors.h"
#include "integrations/safety_rule.h"

namespace vesk {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ObservingValues, PressureIsTheStationPressureTheBoardMeasured) {
  // Marker 10 with count 0: 400 hPa at the station, about 426.4 once reduced to sea level.
  TDataOUT out;
  DecodeDataExt({0x50, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 19, {}, {}, out);
  ASSERT_NEAR(out.infosRec.Pressure, 426.4, 0.1);
  EXPECT_NEAR(*SensorValue(ObservingSensor::Pressure, out.infosRec), 400, 1e-9);

  TinfosRec noMarker;  // a word without its marker decodes to 0
  EXPECT_FALSE(SensorValue(ObservingSensor::Pressure, noMarker)) << "0 hPa is no pressure";
}

TEST(ObservingValues, WindInMetresPerSecondAndDegreesFromNorth) {
  const struct {
    double kmh, degrees;
    double speed, direction;
  } cases[] = {
      {36, 270, 10, 270},
      {7.2, 360, 2, 0},  // north is 0
      {0, 123, 0, 0},    // calm air has no direction
      {-1.5, 90, 0, 0},  // the temperature correction can drive the speed below 0
  };
  for (const auto& c : cases) {
    TinfosRec rec;
    rec.WindSpeed = c.kmh;
    rec.Windir = c.degrees;
    EXPECT_NEAR(*SensorValue(ObservingSensor::WindSpeed, rec), c.speed, 1e-12) << c.kmh;
    EXPECT_NEAR(*SensorValue(ObservingSensor::WindDirection, rec), c.direction, 1e-12) << c.kmh;
  }
}

TEST(ObservingValues, WhatEachModelMeasures) {
  for (const auto sensor :
       {ObservingSensor::Temperature, ObservingSensor::Humidity, ObservingSensor::DewPoint}) {
    EXPECT_TRUE(Measures(sensor, 3));
    EXPECT_TRUE(Measures(sensor, 34));
  }
  for (const auto sensor :
       {ObservingSensor::Pressure, ObservingSensor::WindSpeed, ObservingSensor::WindDirection}) {
    EXPECT_FALSE(Measures(sensor, 3)) << "no weather module";
    EXPECT_TRUE(Measures(sensor, 34));
    EXPECT_TRUE(SomeBoardMeasures(sensor));
  }
  for (const auto sensor :
       {ObservingSensor::CloudCover, ObservingSensor::RainRate, ObservingSensor::SkyBrightness,
        ObservingSensor::SkyQuality, ObservingSensor::SkyTemperature, ObservingSensor::StarFWHM,
        ObservingSensor::WindGust}) {
    EXPECT_FALSE(Measures(sensor, 34));
    EXPECT_FALSE(SomeBoardMeasures(sensor));
  }
  EXPECT_EQ(SensorNamed("WINDSPEED"), ObservingSensor::WindSpeed);
  EXPECT_EQ(SensorNamed("starfwhm"), ObservingSensor::StarFWHM);
  EXPECT_FALSE(SensorNamed("Wind"));
}

TEST(SafetyRule, SafeOnlyWhileFreshDryAndClearOfDew) {
  const SteadyTime polled{seconds(1000)};
  const milliseconds period(10000);
  const SafetyLimits usual{90, 2.0};
  const SafetyLimits humidityOnly{90, -100};
  const SafetyLimits dewOnly{101, 2.0};
  const struct {
    const char* what;
    double temp, rh;
    milliseconds age;
    SafetyLimits limits;
    bool safe;
  } cases[] = {
      {"dry afternoon", 20, 35, milliseconds(0), usual, true},
      {"three periods old", 20, 35, milliseconds(30000), usual, true},
      {"older than three periods", 20, 35, milliseconds(30001), usual, false},
      {"humidity just below the limit", 20, 89.9, milliseconds(0), humidityOnly, true},
      {"humidity at the limit", 20, 90, milliseconds(0), humidityOnly, false},
      {"a lower humidity limit", 20, 35, milliseconds(0), {30, 2.0}, false},
      // At 5 °C the dew point is 2.3 °C below the air at 85 %, 1.8 °C below at 88 %.
      {"clear of dew", 5, 85, milliseconds(0), dewOnly, true},
      {"within the dew margin", 5, 88, milliseconds(0), dewOnly, false},
      {"a wider dew margin", 20, 35, milliseconds(0), {90, 25}, false},
      {"humidity not a number", 20, kNaN, milliseconds(0), usual, false},
      {"temperature not a number", kNaN, 35, milliseconds(0), usual, false},
      {"humidity sensor lost (negative)", 20, -23.8, milliseconds(0), usual, false},
  };
  for (const auto& c : cases) {
    StampedReading reading;
    reading.reading.data.infosRec.TempExt = c.temp;
    reading.reading.data.infosRec.RHExt = c.rh;
    reading.at = polled;
    EXPECT_EQ(IsSafe(reading, polled + c.age, period, c.limits), c.safe) << c.what;
  }
  EXPECT_FALSE(IsSafe(std::nullopt, polled, period, usual)) << "no poll yet";
  StampedReading dry;
  dry.reading.data.infosRec.TempExt = 20;
  dry.reading.data.infosRec.RHExt = 35;
  dry.at = polled;
  EXPECT_FALSE(IsSafe(dry, polled + seconds(4), milliseconds(1000), usual)) << "fast mode";
}

// Each condition is told apart, so a face that shows them lights the one that failed.
TEST(SafetyRule, VerdictNamesTheConditionThatFailed) {
  const SteadyTime polled{seconds(1000)};
  const milliseconds period(1000);
  StampedReading humidNight;
  humidNight.reading.data.infosRec.TempExt = 5;
  humidNight.reading.data.infosRec.RHExt = 95;
  humidNight.at = polled;
  const SafetyVerdict humid = JudgeSafety(humidNight, polled, period, {90, 2.0});
  EXPECT_TRUE(humid.current);
  EXPECT_FALSE(humid.dry);
  EXPECT_FALSE(humid.clearOfDew);
  const SafetyVerdict dewOnly = JudgeSafety(humidNight, polled, period, {99, 2.0});
  EXPECT_TRUE(dewOnly.dry);
  EXPECT_FALSE(dewOnly.clearOfDew);
  const SafetyVerdict stale = JudgeSafety(humidNight, polled + seconds(4), period, {99, 0});
  EXPECT_FALSE(stale.current);
  EXPECT_TRUE(stale.dry && stale.clearOfDew) << "the last reading itself was fine";
  EXPECT_FALSE(stale.Safe());
  const SafetyVerdict none = JudgeSafety(std::nullopt, polled, period, {99, 0});
  EXPECT_FALSE(none.current || none.dry || none.clearOfDew);
}

}  // namespace
}  // namespace vesk
