#include "integrations/alpaca_params.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(AlpacaParams, FormBodies) {
  const struct {
    const char* body;
    std::optional<AlpacaParams> params;
  } cases[] = {
      {"Connected=true&ClientID=3", AlpacaParams{{"Connected", "true"}, {"ClientID", "3"}}},
      {"Action=a+b&Parameters=%7B%22x%22%3A1%7D",
       AlpacaParams{{"Action", "a b"}, {"Parameters", "{\"x\":1}"}}},
      {"&&Flag&Empty=", AlpacaParams{{"Flag", ""}, {"Empty", ""}}},
      {"", AlpacaParams{}},
      {"Name=%00%ff", AlpacaParams{{"Name", std::string("\0\xFF", 2)}}},
      {"Connected=%", std::nullopt},
      {"Connected=%4", std::nullopt},
      {"Connected=%zz", std::nullopt},
      {"%G1=true", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeForm(c.body), c.params) << c.body;
  }
}

TEST(AlpacaParams, NamesAnyCaseOnlyWhenAsked) {
  const AlpacaParams params{{"clienttransactionid", "7"}, {"ClientTransactionID", "8"}};
  EXPECT_EQ(*FindParam(params, "ClientTransactionID", true), "7") << "the first of any case";
  EXPECT_EQ(*FindParam(params, "ClientTransactionID", false), "8");
  EXPECT_EQ(FindParam(params, "ClientID", true), nullptr);
}

TEST(AlpacaParams, Values) {
  EXPECT_EQ(ParseUInt32("0"), 0u);
  EXPECT_EQ(ParseUInt32("4294967295"), 4294967295u);
  for (const char* bad : {"4294967296", "-1", "+1", " 1", "1 ", "", "0x10", "1.0", "abc"}) {
    EXPECT_FALSE(ParseUInt32(bad)) << bad;
  }
  EXPECT_EQ(ParseBool("True"), true);
  EXPECT_EQ(ParseBool("FALSE"), false);
  for (const char* bad : {"1", "yes", "", "truee"}) {
    EXPECT_FALSE(ParseBool(bad)) << bad;
  }
  EXPECT_EQ(ParseNumber("0"), 0.0);
  EXPECT_EQ(ParseNumber("-1.5"), -1.5);
  for (const char* bad : {"", "1,5", "nan", "inf", "1e999", "abc", " 1"}) {
    EXPECT_FALSE(ParseNumber(bad)) << bad;
  }
}

}  // namespace
}  // namespace vesk
