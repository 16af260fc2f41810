#include "sim/weather_encoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "tests/sim/weather_decoding.h"

namespace vesk::sim {
namespace {

using namespace test;

TEST(SimWeatherEncoding, KnownWords) {
  EXPECT_EQ(PressureWord(949.85), 0x55DC);
  EXPECT_EQ(PressureWord(400), 0x5000);
  EXPECT_EQ(PressureWord(1150), 0x57FE);
  EXPECT_EQ(PressureWord(300), 0x5000) << "below the sensor's range";
  EXPECT_NEAR(SeaLevel(StationPressure(1012.42)), 1012.42, 1e-9);
  EXPECT_EQ(ChannelWord(kReferenceVolts), 0x9C40);
  EXPECT_EQ(ChannelWord(5), 0xFFF0) << "full scale";
  EXPECT_EQ(ChannelWord(-0.1), 0x0000);
  EXPECT_EQ(ModuleTemperatureWord(-1), 0xFF80);
  EXPECT_EQ(ModuleTemperatureWord(20), 0x0A00);
}

struct Channel {
  const char* name;
  std::function<std::uint16_t(double)> encode;
  std::function<double(std::uint16_t)> decode;
  std::vector<double> values;
  bool analog = true;  // a 12-bit count in the high bits
};

// Each value comes back within half a count of the channel.
TEST(SimWeatherEncoding, DecodesToTheValueWithinHalfACount) {
  const std::vector<Channel> channels = {
      {"temperature v1",
       [](double c) { return TemperatureWord(c, false); },
       [](std::uint16_t w) { return DecodeTemperature(w, false); },
       {-30, 0, 12.34, 40}},
      {"temperature v2",
       [](double c) { return TemperatureWord(c, true); },
       [](std::uint16_t w) { return DecodeTemperature(w, true); },
       {-30, 0, 12.34, 40}},
      {"humidity", HumidityWord, DecodeHumidity, {3, 50, 87.6, 100}},
      {"wind speed v1",
       [](double k) { return WindSpeedWord(k, false); },
       [](std::uint16_t w) { return DecodeWindSpeed(w, false); },
       {0, 9.5, 60}},
      {"wind speed v2",
       [](double k) { return WindSpeedWord(k, true); },
       [](std::uint16_t w) { return DecodeWindSpeed(w, true); },
       {0, 9.5, 60}},
      {"wind direction v1",
       [](double d) { return WindDirectionWord(d, false); },
       [](std::uint16_t w) { return DecodeWindDirection(w, false); },
       {0, 90, 359.9}},
      {"wind direction v2",
       [](double d) { return WindDirectionWord(d, true); },
       [](std::uint16_t w) { return DecodeWindDirection(w, true); },
       {0, 90, 359.9}},
      {"module temperature",
       ModuleTemperatureWord,
       DecodeModuleTemperature,
       {-20.5, 0, 31.7},
       false},
  };
  for (const Channel& c : channels) {
    for (const double value : c.values) {
      const std::uint16_t word = c.encode(value);
      const double halfCount =
          std::abs(c.decode(static_cast<std::uint16_t>(word + 16)) - c.decode(word)) / 2;
      EXPECT_NEAR(c.decode(word), value, halfCount + 1e-9) << c.name << " " << value;
      if (c.analog) {
        EXPECT_EQ(word & 0x000F, 0) << c.name << ": the low 4 bits are empty";
      }
    }
  }
  for (const double hpa : {955.0, 1013.25, 1048.0}) {
    const std::uint16_t word = PressureWord(StationPressure(hpa));
    EXPECT_NEAR(DecodePressure(word), hpa, 0.4) << "pressure " << hpa;
  }
}

}  // namespace
}  // namespace vesk::sim
