#include "settings/integration_checks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace vesk {
namespace {

using ::testing::HasSubstr;

TEST(IntegrationChecks, NumericAddresses) {
  for (const char* good : {"127.0.0.1", "0.0.0.0", "192.168.1.20", "255.255.255.255", "::", "::1",
                           "fe80::1", "2001:db8:0:0:0:0:2:1", "::ffff:192.0.2.1"}) {
    EXPECT_TRUE(IsNumericAddress(good)) << good;
  }
  for (const char* bad :
       {"", "localhost", "127.0.0", "127.0.0.1.", "256.0.0.1", "01.2.3.4", "1.2.3.4 ", "1::2::3",
        "1:2:3:4:5:6:7:8:9", "12345::", ":1", "1:", "1:2:3:4:5:6:7:8::", "::g"}) {
    EXPECT_FALSE(IsNumericAddress(bad)) << bad;
  }
}

TEST(IntegrationChecks, AlpacaValues) {
  const TAlpacaSettings usual;
  EXPECT_EQ(AlpacaSettingsProblem(usual), std::nullopt);
  struct Case {
    TAlpacaSettings settings;
    const char* problem;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {{true, 0, "127.0.0.1", 90, 2}, "port must be from 1 to 65535"},
      {{true, 65536, "127.0.0.1", 90, 2}, "port must be from 1 to 65535"},
      {{true, 11111, "observatory.local", 90, 2}, "is not an IP address"},
      {{true, 11111, "127.0.0.1", 0, 2}, "unsafe humidity"},
      {{true, 11111, "127.0.0.1", 100.5, 2}, "unsafe humidity"},
      {{true, 11111, "127.0.0.1", nan, 2}, "unsafe humidity"},
      {{true, 11111, "127.0.0.1", 90, -0.5}, "dew margin"},
      {{true, 11111, "127.0.0.1", 90, nan}, "dew margin"},
  };
  for (const Case& c : cases) {
    const auto problem = AlpacaSettingsProblem(c.settings);
    ASSERT_TRUE(problem) << c.problem;
    EXPECT_THAT(*problem, HasSubstr(c.problem));
  }
  // The edges are allowed; so is a disabled server's, which is stored as it is.
  EXPECT_EQ(AlpacaSettingsProblem({false, 65535, "::", 100, 0}), std::nullopt);
}

TEST(IntegrationChecks, MqttValues) {
  EXPECT_EQ(MqttSettingsProblem({}), std::nullopt);
  EXPECT_EQ(MqttSettingsProblem({true, "broker.local", 8883, "vesk", "s3cret", "obs/cam"}),
            std::nullopt);
  struct Case {
    TMqttSettings settings;
    const char* problem;
  };
  const Case cases[] = {
      {{true, "", 1883, "", "", ""}, "needs a host"},
      {{true, "broker local", 1883, "", "", ""}, "needs a host"},
      {{true, "broker", 0, "", "", ""}, "port must be from 1 to 65535"},
      {{true, "broker", 1883, "", "secret", ""}, "password needs a user"},
      {{true, "broker", 1883, "vesk", "two\nlines", ""}, "line breaks"},
      {{true, "broker", 1883, "vesk", " secret", ""}, "begin or end with a space"},
      {{true, "broker", 1883, "", "", "obs/+/cam"}, "cannot hold + or #"},
      {{true, "broker", 1883, "", "", "obs/#"}, "cannot hold + or #"},
      {{true, "broker", 1883, "", "", "obs/"}, "nor end with /"},
  };
  for (const Case& c : cases) {
    const auto problem = MqttSettingsProblem(c.settings);
    ASSERT_TRUE(problem) << c.problem;
    EXPECT_THAT(*problem, HasSubstr(c.problem));
  }
}

}  // namespace
}  // namespace vesk
