#include "plots/cursor_readout.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(CursorReadout, DateTimeThenTheValueInTheChartsUnit) {
  const TDateTime d = EncodeDateTime({2026, 1, 18, 9, 5, 3, 0});
  const std::string when = " " + DateTimeToText(d) + "            ";
  EXPECT_EQ(CursorReadout(TTimeChart::Temp, d, 21.374), when + "21.37 °C");
  EXPECT_EQ(CursorReadout(TTimeChart::RH, d, 65.2), when + "65.20 %RH");
  EXPECT_EQ(CursorReadout(TTimeChart::Press, d, 1013.24), when + "1013.2 hPa");
  EXPECT_EQ(CursorReadout(TTimeChart::WindSpeed, d, 3.454), when + "3.45 km/h");
  EXPECT_EQ(CursorReadout(TTimeChart::WindDir, d, 270), when + "270.0 °");
  EXPECT_EQ(CursorReadout(TTimeChart::Temp, d, -4.5), when + "-4.50 °C");
}

}  // namespace
}  // namespace vesk
