// Over days and nights the readings stay plausible, the weather channels decode to the
// weather, and the automatic cooler starts and stops for each of its causes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "acquisition/sensor_conversions.h"
#include "common/reply_reader.h"
#include "link/order_codes.h"
#include "tests/sim/board_fixture.h"
#include "tests/sim/weather_decoding.h"

namespace vesk::sim {
namespace {

using test::BoardFixture;

constexpr double kMinute = 1.0 / (24 * 60);

TEST(SimBoardDay, ReadingsStayPlausibleAndFollowTheDailyCycle) {
  BoardFixture f;
  double night = 0;
  double afternoon = 0;
  for (int step = 0; step < 2 * 24 * 4; ++step) {  // every 15 minutes for two days
    f.now = test::Night() + step * 15 * kMinute;
    const TArrayByte voltage = f.ask({REQ_GET_VOLTAGE});
    const ReplyReader v(voltage);
    const double outsideC = CountToCelsius(v.word(0));
    const double outsideRH = CountToHumidity(v.word(2), {});
    EXPECT_THAT(outsideC, ::testing::AllOf(::testing::Ge(-30), ::testing::Le(40)));
    EXPECT_THAT(outsideRH, ::testing::AllOf(::testing::Ge(0), ::testing::Le(100)));
    EXPECT_GT(CountToCelsius(v.word(4)), outsideC) << "inside is warmer";
    EXPECT_GT(CountToCelsius(v.word(15)), CountToCelsius(v.word(4))) << "hot side";

    const TArrayByte ext = f.ask({REQ_GET_DATAEXT});
    const ReplyReader e(ext);
    EXPECT_EQ(e.word(0) >> 11, 10) << "pressure marker";
    EXPECT_THAT(test::DecodePressure(e.word(0)),
                ::testing::AllOf(::testing::Ge(950), ::testing::Le(1050)));
    EXPECT_NEAR(test::DecodeTemperature(e.word(4), true), outsideC, 0.6)
        << "module and board see the same air";
    EXPECT_THAT(test::DecodeHumidity(e.word(2)),
                ::testing::AllOf(::testing::Ge(0), ::testing::Le(100)));
    EXPECT_THAT(test::DecodeWindSpeed(e.word(6), true),
                ::testing::AllOf(::testing::Ge(-0.2), ::testing::Le(40)));
    EXPECT_THAT(test::DecodeWindDirection(e.word(8), true),
                ::testing::AllOf(::testing::Ge(0), ::testing::Lt(360)));

    const int hour = (step / 4) % 24;
    if (hour == 3) {
      night += outsideC;
    } else if (hour == 15) {
      afternoon += outsideC;
    }
  }
  EXPECT_GT(afternoon - night, 4 * 2 * 10.0) << "about 15 degrees between 03:00 and 15:00";
}

TEST(SimBoardDay, AutomaticCoolingStartsAndStopsForEachCause) {
  BoardFixture f;
  std::set<std::uint8_t> seen;
  for (int step = 0; step < 24 * 6; ++step) {  // every 10 minutes for a day
    f.now = test::Night() + step * 10 * kMinute;
    seen.insert(f.ask({REQ_GET_VOLTAGE})[20]);
  }
  std::set<std::uint8_t> causes;
  bool ran = false;
  for (const std::uint8_t status : seen) {
    EXPECT_EQ(status & 0x03, 0x01) << "automatic mode only";
    ran = ran || (status & 0x04) != 0;
    causes.insert(status & 0x38);
  }
  EXPECT_TRUE(ran);
  EXPECT_TRUE(causes.contains(0x08)) << "day";
  EXPECT_TRUE(causes.contains(0x10)) << "too hot";
  EXPECT_TRUE(causes.contains(0x20)) << "too wet";
}

}  // namespace
}  // namespace vesk::sim
