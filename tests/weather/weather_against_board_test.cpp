// The diagnostics readout of the simulated board, reached through the monitor's own link on a
// pseudo-terminal.
#include <gtest/gtest.h>

#include <string>

#include "common/exceptions.h"
#include "link/com_obj_rs232.h"
#include "link/order_codes.h"
#include "sim/in_process_board.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"
#include "weather/ext_datas.h"
#include "weather/weather_readout.h"

namespace vesk {
namespace {

constexpr int kPort = 7;

struct LinkedBoard {
  explicit LinkedBoard(const sim::BoardSetup& setup) : board(setup) {
    board.linkAsPort(folder.path(), kPort);
    link.OpenCom(kPort);
  }

  test::TempFolder folder;
  test::LogCapture log{folder.path()};
  sim::InProcessBoard board;
  TComObjRs232 link{folder.path()};
};

TEST(WeatherAgainstBoard, ReadsEveryRowOfTheModule) {
  LinkedBoard l(sim::BoardSetup{});  // a second-generation weather model
  TArrayByte ack;
  l.link.SendOrder_ReceiveFeedBack({REQ_SET_CONFIG, 0x09, 0x9A, 0x2A, 0x42, 0x01, 0x28}, ack);

  const TWeatherReadout readout = WeatherReadout(GetExtDatas(l.link), {});
  ASSERT_FALSE(readout.error);
  ASSERT_EQ(readout.rows.size(), kWeatherRowCount);
  EXPECT_FALSE(readout.rows[0].red) << readout.rows[0].value;
  EXPECT_NE(readout.rows[0].value.find(" Local hPa "), std::string::npos);
  // The board's reference carries a few millivolts of noise, and which noise it gets depends on
  // the readings drawn before it, so on the time of day: its first figures alone may read 2.49.
  EXPECT_NEAR(std::stod(readout.rows[1].value), 2.5, 0.004) << "the 2.5 V reference";
  // The board sends the thresholds it stores.
  EXPECT_EQ(readout.rows[7].raw, "          0000 1001 1001     0x99A   2458");
  EXPECT_EQ(readout.rows[8].raw, "          0010 1010 0100     0x2A42   10818");
  ASSERT_TRUE(readout.status);
  EXPECT_EQ(readout.status->text, "OK");
}

// A board without the module answers the order with one byte, too short for the first row.
TEST(WeatherAgainstBoard, ABoardWithoutTheModuleFillsNoRow) {
  sim::BoardSetup setup;
  setup.identity.type = 1;
  LinkedBoard l(setup);
  const TWeatherReadout readout = WeatherReadout(GetExtDatas(l.link), {});
  EXPECT_TRUE(readout.rows.empty());
  EXPECT_THROW(std::rethrow_exception(readout.error), ERangeCheck);
}

}  // namespace
}  // namespace vesk
