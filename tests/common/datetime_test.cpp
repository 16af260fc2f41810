#include "common/datetime.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace vesk {
namespace {

TEST(DateTime, DaysCountFromDecemberThirtieth1899) {
  EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 30, 0, 0, 0, 0}), 0.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2000, 1, 1, 0, 0, 0, 0}), 36526.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2000, 1, 1, 12, 0, 0, 0}), 36526.5);
  EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 29, 0, 0, 0, 0}), -1.0);
}

TEST(DateTime, DecodesToTheMillisecond) {
  const DateTimeParts in{2026, 1, 18, 9, 5, 3, 42};
  const DateTimeParts out = DecodeDateTime(EncodeDateTime(in));
  EXPECT_EQ(out.year, 2026);
  EXPECT_EQ(out.month, 1);
  EXPECT_EQ(out.day, 18);
  EXPECT_EQ(out.hour, 9);
  EXPECT_EQ(out.minute, 5);
  EXPECT_EQ(out.second, 3);
  EXPECT_EQ(out.millisecond, 42);
}

TEST(DateTime, TimePointsRoundTripInLocalTime) {
  const auto now = std::chrono::system_clock::now();
  const TDateTime value = FromTimePoint(now);
  const auto back = ToTimePoint(value);
  EXPECT_LE(std::abs(std::chrono::duration_cast<std::chrono::milliseconds>(back - now).count()), 1);
  EXPECT_NEAR(Now(), value, 1.0 / 86400.0);
}

TEST(DateTime, TextIsShortDateAndLongTime) {
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(DateTimeToText(EncodeDateTime({2026, 1, 18, 9, 5, 3, 0})), "01/18/26 09:05:03");
}

}  // namespace
}  // namespace vesk
