#include "device/threshold_values.h"

#include <gtest/gtest.h>

#include "acquisition/sensor_conversions.h"
#include "common/exceptions.h"

namespace vesk {
namespace {

// Puts back the process-wide humidity constants a test changed.
struct DefaultHumidityConstants {
  DefaultHumidityConstants() { Restore(); }
  ~DefaultHumidityConstants() { Restore(); }
  static void Restore() {
    SetHumiditySensorConstants(kDefaultHumiditySensorGain, kDefaultHumiditySensorOffset);
  }
};

TEST(ThresholdValues, CountsTheBoardReceives) {
  DefaultHumidityConstants defaults;
  const struct {
    double celsius;
    std::uint16_t word;
  } temperatures[] = {{25, 2458}, {0, 1638}, {-50, 0}, {-100, 0xF99A}, {100, 4915}};
  for (const auto& c : temperatures) {
    EXPECT_EQ(TemperatureThresholdWord(c.celsius), c.word) << c.celsius;
  }
  EXPECT_EQ(HumidityThresholdWord(80), 10818);
  EXPECT_EQ(HumidityThresholdWord(0), 2482);
  // Without a gain there is no count; the guard value goes out.
  SetHumiditySensorConstants(0, kDefaultHumiditySensorOffset);
  EXPECT_EQ(HumidityThresholdWord(80), 32767);
}

TEST(ThresholdValues, PowerLevelFitsAByte) {
  EXPECT_EQ(PowerLevelByte(0), 0);
  EXPECT_EQ(PowerLevelByte(255), 255);
  EXPECT_THROW(PowerLevelByte(256), ERangeCheck);
  EXPECT_THROW(PowerLevelByte(-1), ERangeCheck);
}

}  // namespace
}  // namespace vesk
