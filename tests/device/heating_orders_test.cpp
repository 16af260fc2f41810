#include "device/heating_orders.h"

#include <gtest/gtest.h>

#include "acquisition/sensor_conversions.h"
#include "common/exceptions.h"
#include "link/order_codes.h"
#include "tests/support/board_line.h"

namespace vesk {
namespace {

TEST(HeatingOrders, ReadsTheStoredThresholds) {
  test::BoardLine board;
  board.answer(REQ_GET_CONFIG, {0x06, 0x66, 0x20, 0x00, 0x99});
  const HeatingThresholds thresholds = GetConfig(board.link);
  EXPECT_EQ(thresholds.gSeuil_Temp_asWord, 0x0666);
  EXPECT_EQ(thresholds.gSeuil_RH_asWord, 0x2000);
  board.answer(REQ_GET_CONFIG, {0x06, 0x66, 0x20});
  EXPECT_THROW(GetConfig(board.link), ERangeCheck);
}

TEST(HeatingOrders, ThresholdTexts) {
  const HeatingThresholdTexts t = FormatThresholds({1638, 8192}, {});
  EXPECT_EQ(t.Label_TempSeuil, "-0.0 °C");
  EXPECT_EQ(t.Label_TempSeuilHint, "1638");
  EXPECT_EQ(t.Label_RHSeuil, "55 %");
  EXPECT_EQ(t.logLine,
            "GetcurrentSetup->  Temperature threshold : -0.0 °C°C (1638) RH threshold : 55 "
            "%%RH (8192)");
}

}  // namespace
}  // namespace vesk
