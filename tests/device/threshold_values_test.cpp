#include "device/threshold_values.h"

#include <gtest/gtest.h>

#include "acquisition/sensor_conversions.h"
#include "common/exceptions.h"

namespace vesk {
namespace {

TEST(ThresholdValues, CountsTheBoardReceives) {
  const struct {
    double celsius;
    std::uint16_t word;
  } temperatures[] = {{25, 2458}, {0, 1638}, {-50, 0}, {-100, 0xF99A}, {100, 4915}};
  for (const auto& c : temperatures) {
    EXPECT_EQ(TemperatureThresholdWord(c.celsius), c.word) << c.celsius;
  }
  EXPECT_EQ(HumidityThresholdWord(80, {}), 10818);
  EXPECT_EQ(HumidityThresholdWord(0, {}), 2482);
  // Without a gain there is no count; the guard value goes out.
  EXPECT_EQ(HumidityThresholdWord(80, {0, kDefaultHumiditySensorOffset}), 32767);
}

TEST(ThresholdValues, PowerLevelFitsAByte) {
  EXPECT_EQ(PowerLevelByte(0), 0);
  EXPECT_EQ(PowerLevelByte(255), 255);
  EXPECT_THROW(PowerLevelByte(256), ERangeCheck);
  EXPECT_THROW(PowerLevelByte(-1), ERangeCheck);
}

}  // namespace
}  // namespace vesk
