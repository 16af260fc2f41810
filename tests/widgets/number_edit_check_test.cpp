#include "widgets/number_edit_check.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

struct Field {
  const char* name;
  TTypeValue kind;
  double min;
  double max;
};

// Fields of the main window.
constexpr Field kEditMinY_V{"EditMinY_V", TTypeValue::Float, -60, 60};
constexpr Field kPowerLevel{"NumberEditPower_Level", TTypeValue::Int, 1, 100};
constexpr Field kGainWindTemp{"NumberEditGainWindTemp", TTypeValue::Float, -150, 150};
// Fields without a range (MinValue = MaxValue = 0).
constexpr Field kAnyFloat{"unranged decimal", TTypeValue::Float, 0, 0};
constexpr Field kAnyInt{"unranged whole", TTypeValue::Int, 0, 0};

struct Case {
  Field field;
  const char* typed;
  bool accepted;
  const char* shown;  // the new text, or the message
};

void Check(const Case& c) {
  SCOPED_TRACE(std::string(c.field.name) + " <- \"" + c.typed + "\"");
  const auto result = CheckNumberEditText(c.typed, c.field.kind, c.field.min, c.field.max);
  EXPECT_EQ(result.accepted, c.accepted);
  if (c.accepted) {
    EXPECT_EQ(result.text, c.shown);
    EXPECT_EQ(result.message, "");
  } else {
    EXPECT_EQ(result.message, c.shown);
    EXPECT_EQ(result.text, c.typed) << "a refused text stays as typed";
  }
}

TEST(NumberEditCheck, EdgeCases) {
  const Case cases[] = {
      {kEditMinY_V, "2+3*4", true, "20"},
      {kEditMinY_V, "(2+3)*4", true, "20"},
      {kEditMinY_V, "2*(3+4)", true, "14"},
      {kEditMinY_V, "2*(3+4+5)", true, "19"},
      {kEditMinY_V, "10-2-3", true, "5"},
      {kEditMinY_V, "-5", true, "-5"},
      {kEditMinY_V, "+5", true, "5"},
      {kEditMinY_V, "3*-2", false, "Invalid input !"},
      {kEditMinY_V, "-5+3", false, "Invalid input !"},
      {kEditMinY_V, "5-", false, "Invalid input !"},
      {kEditMinY_V, "(1)", false, "Invalid input !"},
      {kEditMinY_V, "2*(3)", false, "Invalid input !"},
      {kEditMinY_V, "2 + 3", false, "Invalid input !"},
      {kEditMinY_V, "1.2.3", false, "Invalid input !"},
      {kEditMinY_V, "1,5", false, "Invalid input !"},
      {kPowerLevel, "8/2", true, "4"},
      {kPowerLevel, "7/2", false, "7/2 is not a integer figure !"},
      {kPowerLevel, "150", false, "Figure too large compared to :100"},
      {kPowerLevel, "0", false, "Figure too small compared to  :1"},
      {kEditMinY_V, "-70", false, "Figure too small compared to  :-60"},
      {kEditMinY_V, "12.50", true, "12.5"},
      {kEditMinY_V, "1e1", true, "10"},
      {kEditMinY_V, "1/0", false, "Figure too large compared to :60"},
      {kEditMinY_V, "0/0", true, "NAN"},
      {kEditMinY_V, "", true, ""},
      {kPowerLevel, "", true, ""},
  };
  for (const auto& c : cases) {
    Check(c);
  }
}

TEST(NumberEditCheck, KindAndRange) {
  const Case cases[] = {
      // Whole-number fields go through the evaluator only: no exponent, no blanks.
      {kAnyInt, "-5", true, "-5"},
      {kAnyInt, "1e1", false, "Invalid input !"},
      {kAnyInt, " 5", false, "Invalid input !"},
      {kAnyInt, "12.0", true, "12"},
      {kAnyInt, "12.50", false, "12.50 is not a integer figure !"},
      {kAnyInt, "5/2", false, "5/2 is not a integer figure !"},
      // Infinite and undefined values cannot be rounded, so they are no whole numbers.
      {kAnyInt, "1/0", false, "1/0 is not a integer figure !"},
      {kAnyInt, "0/0", false, "0/0 is not a integer figure !"},
      {kAnyInt, "99999999999999999999", false, "99999999999999999999 is not a integer figure !"},
      {kAnyInt, "1000000*1000000", true, "1000000000000"},
      {kPowerLevel, "100", true, "100"},
      {kPowerLevel, "1", true, "1"},
      {kPowerLevel, "100.5-0.5", true, "100"},
      // Whole-number bounds are shown rounded, halves to the even neighbour.
      {{"Int 0.5 to 2.5", TTypeValue::Int, 0.5, 2.5},
       "3",
       false,
       "Figure too large compared to :2"},
      {{"Int 1.5 to 9", TTypeValue::Int, 1.5, 9}, "-1", false, "Figure too small compared to  :2"},
      // Decimal fields try the plain conversion first, then the evaluator.
      {kAnyFloat, " 5 ", true, "5"},
      {kAnyFloat, "2.5e-3", true, "0.0025"},
      {kAnyFloat, ".5+.5", true, "1"},
      {kAnyFloat, "-(2+3)", true, "-5"},
      {kAnyFloat, "1/0", true, "INF"},
      {kAnyFloat, "-(1/0)", true, "-INF"},
      {kAnyFloat, "-1/0", false, "Invalid input !"},
      {kAnyFloat, "1/3", true, "0.333333333333333"},
      {kAnyFloat, "abc", false, "Invalid input !"},
      {kAnyFloat, "-", false, "Invalid input !"},
      {kGainWindTemp, "-0.1663", true, "-0.1663"},
      {kGainWindTemp, "-150", true, "-150"},
      {kGainWindTemp, "150.0001", false, "Figure too large compared to :150"},
      {{"Float 0.25 to 0.75", TTypeValue::Float, 0.25, 0.75},
       "1",
       false,
       "Figure too large compared to :0.75"},
      {{"Float 0.25 to 0.75", TTypeValue::Float, 0.25, 0.75},
       "0.1",
       false,
       "Figure too small compared to  :0.25"},
  };
  for (const auto& c : cases) {
    Check(c);
  }
}

}  // namespace
}  // namespace vesk
