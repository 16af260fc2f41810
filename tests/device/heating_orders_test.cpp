#include "device/heating_orders.h"

#include <gtest/gtest.h>

#include "acquisition/sensor_conversions.h"
#include "common/exceptions.h"
#include "device/threshold_values.h"
#include "link/frame.h"
#include "link/order_codes.h"
#include "tests/support/board_line.h"
#include "tests/support/sim_line.h"

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

TEST(HeatingOrders, ThresholdsWrittenToTheBoardAreReadBack) {
  test::SimLine line;
  const HeatingSetup setup{{TemperatureThresholdWord(25), HumidityThresholdWord(80, {})}, true, 40};
  SetConfig(line.link, setup);
  EXPECT_EQ(SetConfigLogLine(setup),
            "SetConfig-> Temperature threshold : 2458 RH threshold : 10818 AutoHeating : -1  "
            "Power Level : 40");
  const sim::HeatingConfig stored = line.board.withBoard([](sim::Board& b) { return b.heating(); });
  EXPECT_TRUE(stored.automatic);
  EXPECT_EQ(stored.power, 40);

  const HeatingThresholds back = GetConfig(line.link);
  EXPECT_EQ(back.gSeuil_Temp_asWord, 2458);
  EXPECT_EQ(back.gSeuil_RH_asWord, 10818);
  const HeatingThresholdTexts texts = FormatThresholds(back, {});
  EXPECT_EQ(texts.Label_TempSeuil, "25.0 °C");
  EXPECT_EQ(texts.Label_RHSeuil, "80 %");

  // Below -50 °C the count is negative: its low 16 bits go out and come back.
  const HeatingSetup cold{
      {TemperatureThresholdWord(-100), HumidityThresholdWord(80, {})}, false, 1};
  SetConfig(line.link, cold);
  EXPECT_EQ(GetConfig(line.link).gSeuil_Temp_asWord, 0xF99A);
  EXPECT_EQ(SetConfigLogLine(cold),
            "SetConfig-> Temperature threshold : 63898 RH threshold : 10818 AutoHeating : 0  "
            "Power Level : 1");
}

TEST(HeatingOrders, ConfigOrderBytesAndTheAnswersThatRefuseIt) {
  test::BoardLine board;
  const HeatingSetup setup{{2458, 10818}, true, 40};
  const struct {
    TArrayByte reply;
    const char* message;
  } refusals[] = {
      {{0x00}, "Error Message"},
      {{0xCB, 0xCA}, "Error Message"},
      {{}, "Range check error"},
  };
  for (const auto& c : refusals) {
    board.answer(REQ_SET_CONFIG, c.reply);
    try {
      SetConfig(board.link, setup);
      ADD_FAILURE() << "taken with " << c.message;
    } catch (const Exception& e) {
      EXPECT_EQ(e.message(), c.message);
    }
  }
  ASSERT_FALSE(board.peer->requests().empty());
  EXPECT_EQ(board.peer->requests().front(),
            (TArrayByte{0x1D, 0x08, 0x9E, 0x09, 0x9A, 0x2A, 0x42, 0x01, 0x28, 0xFB}));
}

TEST(HeatingOrders, ForcedHeaterFollowedOutsideAutomaticHeating) {
  test::SimLine line;
  auto forced = [&line] {
    return line.board.withBoard([](sim::Board& b) { return b.heating(); }).forced;
  };
  // The board starts in automatic heating and answers its flag.
  EXPECT_EQ(EnableHeater(line.link, 1), 1);
  EXPECT_TRUE(forced());
  SetConfig(line.link, {GetConfig(line.link), false, 50});
  EXPECT_EQ(EnableHeater(line.link, 0), 0);
  EXPECT_FALSE(forced());
  EXPECT_EQ(EnableHeaterLogLine(1, 0), "Manual heating (forced): 1, AutoHeater: 0");
}

TEST(HeatingOrders, HeaterAnswerAboveOneIsALinkError) {
  test::BoardLine board;
  board.answer(REQ_ENABLE_HEATER, {2});
  try {
    EnableHeater(board.link, 1);
    ADD_FAILURE() << "answer 2 taken";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), "Link error !!");
  }
  board.answer(REQ_ENABLE_HEATER, {});
  EXPECT_THROW(EnableHeater(board.link, 1), ERangeCheck);
}

}  // namespace
}  // namespace vesk
