#include "sim/weather_encoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "acquisition/sensor_conversions.h"

namespace vesk::sim {
namespace {

// The monitor's reading of each channel, from the count in the word's high 12 bits.
double Volts(std::uint16_t word) {
  return (word >> 4) * 4.096 / 4096;
}
double DecodeTemperature(std::uint16_t w, bool v2) {
  return ((v2 ? Volts(w) / 2.663 : Volts(w)) - 0.5) * 100;
}
double DecodeHumidity(std::uint16_t w) {
  return (Volts(w) / 5 - HumiditySensorOffset()) * HumiditySensorGain();
}
double DecodeWindSpeed(std::uint16_t w, bool v2) {
  if (v2) {
    return ((Volts(w) / 2.663 - 0.305) / 75 * 1000 * 50 * 3.6) / 16.526;
  }
  return ((Volts(w) / 1.3333 - 0.5805) / 150 * 1000 * 50 * 3.6) / 16;
}
double DecodeWindDirection(std::uint16_t w, bool v2) {
  if (v2) {
    return (Volts(w) / 2.663 - 0.3) / 1.2 * 360;
  }
  return ((Volts(w) / 1.3333 - 0.5805) / 150 * 1000 * 360) / 16;
}
double SeaLevel(double station) {
  return station * std::pow((0.00651 * 550 + 293.16) / 293.16, 5.25516);
}

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
       [](std::uint16_t w) { return static_cast<std::int16_t>(w) / 16.0 * 0.125; },
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
    const double station = (((word >> 1) & 0x3FF) + 545.6) / 13.64 * 10;
    EXPECT_NEAR(SeaLevel(station), hpa, 0.4) << "pressure " << hpa;
  }
}

}  // namespace
}  // namespace vesk::sim
