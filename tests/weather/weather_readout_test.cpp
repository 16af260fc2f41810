#include "weather/weather_readout.h"

#include <gtest/gtest.h>

#include "acquisition/sensor_conversions.h"
#include "common/exceptions.h"

namespace vesk {
namespace {

// A full reply: every word chosen so that its value is easy to check by hand.
TArrayByte FullReply() {
  return {
      0x55, 0xDC,  // pressure: marker 10, count 750
      0xBB, 0x80,  // humidity: 3.000 V
      0x7D, 0x00,  // temperature: 2.000 V
      0x3E, 0x80,  // wind speed: 1.000 V
      0x1F, 0x40,  // wind direction: 0.500 V, below the vane's 0.3 V after the amplifier
      0xFF, 0x80,  // converter temperature: -128 units
      0x08, 0x00,  // temperature threshold: count 2048
      0x20, 0x00,  // humidity threshold: count 8192
      0x9C, 0x40,  // reference: count 2500
      0x00,        // converter status
  };
}

class WeatherReadoutTest : public ::testing::Test {
 protected:
  void SetUp() override {}
};

TEST_F(WeatherReadoutTest, EveryRowOfAFullReply) {
  const TWeatherReadout readout = WeatherReadout(FullReply(), {});
  ASSERT_FALSE(readout.error);
  const TWeatherRow expected[] = {
      {" 0101 0101 1101 1100     0x55DC   21980",
       "    949.9 Local hPa           1012.4 See level hPa (at 20°C)"},
      {"          1001 1100 0100     0x9C40   40000",
       "    2.500 V must be 2.5V          Diff=0.000 V"},
      {"          1111 1111 1000     0xFF80   65408", "    -1.00 °C"},
      {"          0111 1101 0000     0x7D00   32000",
       "    before amp  : 0.75 V, then after 2.00 V           25.19°C"},
      {"          1011 1011 1000     0xBB80   48000", "    3.00 V        70.5%"},
      {"          0011 1110 1000     0x3E80   16000",
       "    before amp  : 0.38 V, then after 1.00 V      10.24  km/h"},
      {"          0001 1111 0100     0x1F40   8000",
       "    before amp  : 0.19 V, then after 0.50 V    -33.67 °"},
      {"          0000 1000 0000     0x800   2048", "    12.5 °C"},
      {"          0010 0000 0000     0x2000   8192", "    54.8 %"},
  };
  ASSERT_EQ(readout.rows.size(), kWeatherRowCount);
  for (std::size_t i = 0; i < kWeatherRowCount; ++i) {
    SCOPED_TRACE(kWeatherRowCaptions[i]);
    EXPECT_EQ(readout.rows[i].raw, expected[i].raw);
    EXPECT_EQ(readout.rows[i].value, expected[i].value);
    EXPECT_FALSE(readout.rows[i].red);
  }
  ASSERT_TRUE(readout.status);
  EXPECT_EQ(readout.status->text, "OK");
  EXPECT_EQ(readout.status->red, false);
}

TEST_F(WeatherReadoutTest, PressureWithoutItsMarkerIsACommunicationError) {
  TArrayByte reply = FullReply();
  reply[0] = 0x00;
  reply[1] = 0x00;
  const TWeatherReadout readout = WeatherReadout(reply, {});
  ASSERT_FALSE(readout.error);
  EXPECT_EQ(readout.rows[0].raw, " 0000 0000 0000 0000     0x0000   0");
  EXPECT_EQ(readout.rows[0].value, "    Error (Diagword is FALSE) com. error (0x00 inst. of 0x0A)");
  EXPECT_TRUE(readout.rows[0].red);
  EXPECT_FALSE(readout.rows[1].red) << "only the pressure row turns red";
}

TEST_F(WeatherReadoutTest, AFaultedConverterTurnsTheStatusRed) {
  TArrayByte reply = FullReply();
  reply[18] = 0x01;
  const TWeatherReadout readout = WeatherReadout(reply, {});
  ASSERT_TRUE(readout.status);
  EXPECT_EQ(readout.status->text, "Faulted");
  EXPECT_EQ(readout.status->red, true);
}

// Older boards send fewer bytes. The reference test and the status say so and the rest is
// shown; a reply too short for any other row stops the readout at that row.
TEST_F(WeatherReadoutTest, ShortReplies) {
  struct ShortCase {
    std::size_t length;
    std::size_t rowsWritten;
    bool referenceShown;
    bool failed;
  };
  const ShortCase cases[] = {
      {18, 9, true, false},                         // no status byte
      {17, 9, false, false},                        // half a reference word
      {16, 9, false, false}, {15, 8, false, true},  // half the humidity threshold
      {11, 2, false, true},  // half the converter temperature, which comes third
      {1, 0, false, true},   {0, 0, false, true},
  };
  for (const ShortCase& c : cases) {
    SCOPED_TRACE(c.length);
    TArrayByte reply = FullReply();
    reply.resize(c.length);
    const TWeatherReadout readout = WeatherReadout(reply, {});
    ASSERT_EQ(readout.rows.size(), c.rowsWritten);
    if (c.rowsWritten >= 2) {
      EXPECT_EQ(readout.rows[0].raw, " 0101 0101 1101 1100     0x55DC   21980");
      const std::string reference = c.referenceShown ? "    2.500 V" : "Not supported";
      EXPECT_EQ(readout.rows[1].value.substr(0, reference.size()), reference);
      EXPECT_EQ(readout.rows[1].raw == "Not supported", !c.referenceShown);
    }
    if (c.failed) {
      EXPECT_FALSE(readout.status) << "the status keeps its old text";
      ASSERT_TRUE(readout.error);
      EXPECT_THROW(std::rethrow_exception(readout.error), ERangeCheck);
    } else {
      EXPECT_FALSE(readout.error);
      ASSERT_TRUE(readout.status);
      EXPECT_EQ(readout.status->text, "Not supported...");
      EXPECT_FALSE(readout.status->red.has_value()) << "the label keeps its colour";
    }
  }
}

// The humidity row follows the sensor constants the operator set.
TEST_F(WeatherReadoutTest, HumidityUsesTheSensorConstants) {
  const TWeatherReadout readout = WeatherReadout(FullReply(), {100, 0.1});
  EXPECT_EQ(readout.rows[4].value, "    3.00 V        50.0%");
  EXPECT_EQ(readout.rows[8].value, "    40.0 %");
}

}  // namespace
}  // namespace vesk
