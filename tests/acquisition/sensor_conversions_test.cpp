#include "acquisition/sensor_conversions.h"

#include <gtest/gtest.h>

#include <limits>

#include "acquisition/model_type.h"

namespace vesk {
namespace {

TEST(SensorConversions, CountsToCelsius) {
  EXPECT_DOUBLE_EQ(CountToCelsius(0), -50.0);
  EXPECT_NEAR(CountToCelsius(1638), 0.0, 0.02);
  EXPECT_DOUBLE_EQ(CountToCelsius(8192), 200.0);  // 2.5 V
  EXPECT_NEAR(CountToCelsius(65535), 1949.97, 0.01);
}

TEST(SensorConversions, CelsiusToCountRoundsHalvesToEven) {
  // 0 °C is 1638.4 counts; -50 °C exactly 0; a temperature below -50 °C goes negative.
  EXPECT_EQ(CelsiusToCount(0), 1638);
  EXPECT_EQ(CelsiusToCount(-50), 0);
  EXPECT_LT(CelsiusToCount(-60), 0);
  // 0.5 count steps: 5/16384 V per count, so t = (k + 0.5) counts lands on a half.
  const double halfCount1 = (1.5 / 16384 * 5 - 0.5) * 100;  // 1.5 counts -> 2
  const double halfCount2 = (2.5 / 16384 * 5 - 0.5) * 100;  // 2.5 counts -> 2
  EXPECT_EQ(CelsiusToCount(halfCount1), 2);
  EXPECT_EQ(CelsiusToCount(halfCount2), 2);
  for (int count = 0; count < 16384; count += 97) {
    EXPECT_EQ(CelsiusToCount(CountToCelsius(static_cast<std::uint16_t>(count))), count);
  }
}

TEST(SensorConversions, GuardsWhenThereIsNoFiniteCount) {
  EXPECT_EQ(CelsiusToCount(std::numeric_limits<double>::infinity()), 32767);
  EXPECT_EQ(CelsiusToCount(std::numeric_limits<double>::quiet_NaN()), 32767);
  EXPECT_EQ(CelsiusToCount(1e300), 32767);
  EXPECT_EQ(HumidityToCount(50, {0.0, kDefaultHumiditySensorOffset}), 32767);
}

TEST(SensorConversions, HumidityFollowsTheSensorConstants) {
  const HumidityConstants defaults;
  // The offset count reads 0 %.
  EXPECT_NEAR(CountToHumidity(static_cast<std::uint16_t>(0.1515 * 16384), defaults), 0.0, 0.01);
  for (int percent = 0; percent <= 100; percent += 5) {
    const auto count = HumidityToCount(percent, defaults);
    EXPECT_NEAR(CountToHumidity(static_cast<std::uint16_t>(count), defaults), percent, 0.01);
  }
  const HumidityConstants other{100.0, 0.2};
  EXPECT_DOUBLE_EQ(CountToHumidity(8192, other), (0.5 - 0.2) * 100.0);
  EXPECT_EQ(HumidityToCount(30, other), 8192);
}

TEST(ModelType, WeatherModules) {
  for (int type = 0; type < 256; ++type) {
    const auto code = static_cast<std::uint8_t>(type);
    const bool v2 = type == 19 || type == 22 || type == 24 || type == 34 || type == 37;
    EXPECT_EQ(HasWeatherModuleV2(code), v2) << type;
    EXPECT_EQ(HasWeatherModule(code), v2 || type == 17) << type;
  }
}

}  // namespace
}  // namespace vesk
