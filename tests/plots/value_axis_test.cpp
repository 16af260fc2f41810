#include "plots/value_axis.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(ValueAxis, ForcedScaleRefusesAMinimumNotBelowTheMaximum) {
  struct Case {
    TValueAxis axis;
    double min, max;
    const char* message;
    const char* minText;
    const char* maxText;
  };
  for (const Case& c :
       {Case{TValueAxis::Temp, 30, 10, "Y scale error : Minimum >= Maximum", "0", "50"},
        Case{TValueAxis::Temp, 20, 20, "Y scale error : Minimum >= Maximum", "0", "50"},
        Case{TValueAxis::RH, 80, 40, "Y Scale error : Minimum >= Maximum", "0", "100"}}) {
    TValueAxisScale scale{0, 50, false};
    const auto refusal = ApplyForcedScale(c.axis, c.min, c.max, scale);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->message, c.message);
    EXPECT_EQ(refusal->minText, c.minText);
    EXPECT_EQ(refusal->maxText, c.maxText);
    EXPECT_EQ(scale.Minimum, 0) << "the axis is not changed";
    EXPECT_EQ(scale.Maximum, 50);
  }
}

TEST(ValueAxis, ForcedScaleFixesTheAxis) {
  TValueAxisScale scale{0, 50, true};
  EXPECT_FALSE(ApplyForcedScale(TValueAxis::Temp, -10, 5, scale).has_value());
  EXPECT_EQ(scale.Minimum, -10);
  EXPECT_EQ(scale.Maximum, 5);
  EXPECT_FALSE(scale.Automatic);
}

// The temperature minimum is set first and the humidity maximum first, against the bounds the
// axis holds now: a pair entirely above (or below) them is refused on its first bound.
TEST(ValueAxis, BoundsBeyondTheCurrentRangeAreRefusedInTheirOrder) {
  TValueAxisScale temp{0, 50, true};
  EXPECT_THROW(
      try { ApplyForcedScale(TValueAxis::Temp, 60, 70, temp); } catch (const EAxisBounds& e) {
        EXPECT_STREQ(e.what(), "The axis minimum 60 is above its current maximum 50");
        throw;
      },
      EAxisBounds);
  EXPECT_EQ(temp.Minimum, 0);
  EXPECT_EQ(temp.Maximum, 50);
  EXPECT_TRUE(temp.Automatic);

  TValueAxisScale rh{50, 100, true};
  EXPECT_THROW(
      try { ApplyForcedScale(TValueAxis::RH, 10, 40, rh); } catch (const EAxisBounds& e) {
        EXPECT_STREQ(e.what(), "The axis maximum 40 is below its current minimum 50");
        throw;
      },
      EAxisBounds);
  EXPECT_EQ(rh.Maximum, 100);
  // The other way round each fits: the humidity axis goes up, the temperature one down.
  EXPECT_FALSE(ApplyForcedScale(TValueAxis::RH, 120, 140, rh).has_value());
  EXPECT_FALSE(ApplyForcedScale(TValueAxis::Temp, -30, -20, temp).has_value());
}

TEST(ValueAxis, StartScaleUnchecksBoundsTheAxisRefuses) {
  struct Case {
    TValueAxis axis;
    TYScaleSetting stored;
    bool checked;
    double min, max;
  };
  for (const Case& c : {Case{TValueAxis::Temp, {true, 60, 70}, true, 60, 70},
                        Case{TValueAxis::Temp, {true, 30, 10}, false, 0, 50},
                        Case{TValueAxis::Temp, {true, 20, 20}, false, 0, 50},
                        Case{TValueAxis::Temp, {false, 5, 10}, false, 0, 50},
                        Case{TValueAxis::RH, {true, 20, 80}, true, 20, 80},
                        Case{TValueAxis::RH, {true, 80, 20}, false, 0, 100}}) {
    TValueAxisScale scale{-3, 3, false};
    EXPECT_EQ(ApplyStartScale(c.axis, c.stored, scale), c.checked);
    EXPECT_EQ(scale.Minimum, c.min);
    EXPECT_EQ(scale.Maximum, c.max);
    EXPECT_EQ(scale.Automatic, !c.checked);
  }
}

}  // namespace
}  // namespace vesk
