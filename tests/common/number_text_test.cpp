#include "common/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "tests/support/comma_locale.h"

namespace vesk {
namespace {

// The system's regional settings may use a comma; the number text never does.
class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::SetCommaLocale()) {
      GTEST_SKIP() << "de_DE.UTF-8 is not generated (scripts/install-deps.sh does that)";
    }
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
  }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(CommaLocale, FormatTextKeepsThePoint) {
  EXPECT_EQ(FormatText("%1.1f°C  %1.0f%%", 12.25, 55.5), "12.2°C  56%");
  EXPECT_EQ(FormatText("%1.2f m", 3.5), "3.50 m");
  EXPECT_EQ(FormatText("%d / failed=%d", 12, 3), "12 / failed=3");
}

TEST_F(CommaLocale, FloatTextRoundTripsWithThePoint) {
  EXPECT_EQ(FloatToText(0.1515), "0.1515");
  double value = 0;
  ASSERT_TRUE(TextToFloat("157.232704402516", value));
  EXPECT_DOUBLE_EQ(value, 157.232704402516);
  EXPECT_FALSE(TextToFloat("1,5", value));
}

TEST(NumberText, LongTextIsNotCut) {
  const std::string long_text(1000, 'x');
  EXPECT_EQ(FormatText("%s|%d", long_text.c_str(), 7), long_text + "|7");
}

TEST(NumberText, GeneralFormatWithFifteenDigits) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {50, "50"},
      {0.1515, "0.1515"},
      {157.23270440251574, "157.232704402516"},
      {-12.5, "-12.5"},
      {0, "0"},
      {1e20, "1E20"},
      {1.5e-7, "1.5E-7"},
      {0.0001, "0.0001"},
      {123456789012345.0, "123456789012345"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
      {std::nan(""), "NAN"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FloatToText(c.value), c.text) << c.text;
  }
}

TEST(NumberText, ParsesPlainDecimalsOnly) {
  const struct {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"12.5", true, 12.5}, {" -3 ", true, -3}, {"1e3", true, 1000}, {"1E-2", true, 0.01},
      {"", false, 0},       {"abc", false, 0},  {"1.5x", false, 0},  {"0x10", false, 0},
      {"inf", false, 0},    {"nan", false, 0},  {"1 2", false, 0},
  };
  for (const auto& c : cases) {
    double value = -999;
    EXPECT_EQ(TextToFloat(c.text, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
  }
}

TEST(NumberText, ParsesWholeNumbers) {
  const struct {
    const char* text;
    bool hex;
    bool ok;
    long long value;
  } cases[] = {
      {"10", false, true, 10},
      {"-7", false, true, -7},
      {"0x0A", true, true, 10},
      {"0x0A", false, false, 0},
      {"$FF", true, true, 255},
      {"2.5", false, false, 0},
      {"abc", false, false, 0},
      {"", false, false, 0},
      {"99999999999999999999", false, false, 0},
  };
  for (const auto& c : cases) {
    long long value = -999;
    EXPECT_EQ(TextToInt(c.text, value, c.hex), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

}  // namespace
}  // namespace vesk
