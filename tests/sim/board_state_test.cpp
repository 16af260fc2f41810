#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "acquisition/sensor_conversions.h"
#include "common/reply_reader.h"
#include "link/order_codes.h"
#include "sim/board.h"
#include "tests/sim/board_fixture.h"

namespace vesk::sim {
namespace {

using test::BoardFixture;
using ::testing::Each;
using ::testing::ElementsAre;

BoardSetup Identity(std::uint8_t major, std::uint8_t minor, std::uint8_t type,
                    std::uint8_t feature = 0) {
  BoardSetup setup;
  setup.identity = {major, minor, type, feature, "127512"};
  return setup;
}

struct LayoutCase {
  const char* what;
  BoardSetup setup;
  std::uint8_t order;
  std::size_t length;
  int firstByte;  // -1: not checked
};

const LayoutCase kLayouts[] = {
    {"readings without inside humidity or hot side", Identity(3, 5, 3), REQ_GET_VOLTAGE, 9, -1},
    {"readings with the feature byte's inside humidity", Identity(3, 5, 2, 5), REQ_GET_VOLTAGE, 15,
     -1},
    {"feature byte 4 is not enough", Identity(3, 5, 2, 4), REQ_GET_VOLTAGE, 9, -1},
    {"readings with the hot-side block", Identity(3, 5, 34), REQ_GET_VOLTAGE, 21, -1},
    {"firmware 1 reports no model", Identity(1, 5, 34), REQ_ORDER_VERSION, 2, 1},
    {"firmware 1 readings", Identity(1, 5, 34), REQ_GET_VOLTAGE, 9, -1},
    {"older lens protocol below 2.2", Identity(2, 18, 5), GET_INFOS_EF_CANON, 12, 0xAA},
    {"older lens firmware does not know the name", Identity(2, 18, 5), GET_NAME_EF_CANON, 1, 0xFF},
    {"2.20 is the newer lens protocol", Identity(2, 20, 21), GET_INFOS_EF_CANON, 19, 0xAA},
    {"2.2 is the newer lens protocol", Identity(2, 2, 21), GET_INFOS_EF_CANON, 19, 0xAA},
    {"2.20 knows the name", Identity(2, 20, 21), GET_NAME_EF_CANON, 20, 'E'},
    {"2.10 reads as 3.0", Identity(2, 10, 21), GET_INFOS_EF_CANON, 19, 0xAA},
    {"2.11 reads as 2.11", Identity(2, 11, 21), GET_INFOS_EF_CANON, 12, 0xAA},
    // The monitor may still ask after a change of model: the whole layout, no lens.
    {"a model without lens has none attached", Identity(3, 5, 23), GET_INFOS_EF_CANON, 19, 0x00},
    {"a model without lens names none", Identity(3, 5, 23), GET_NAME_EF_CANON, 0, -1},
    {"a model without lens refuses the iris", Identity(3, 5, 23), SET_CANON_DIAPH, 2, 0x15},
    {"a model without weather module", Identity(3, 5, 23), REQ_GET_DATAEXT, 1, 0xFF},
    {"the first weather module", Identity(3, 5, 17), REQ_GET_DATAEXT, 19, 0x55},
    {"firmware 2 keeps no serial number", Identity(2, 20, 34), REQ_GET_SERIAL, 1, 0xFF},
    {"firmware 2 keeps no model type", Identity(2, 20, 34), REQ_SET_TYPE_SERIAL, 1, 0xFF},
};

TEST(SimBoard, ReplyLayoutsFollowModelAndFirmware) {
  for (const LayoutCase& c : kLayouts) {
    BoardFixture f(c.setup);
    const TArrayByte reply = f.ask({c.order});
    EXPECT_EQ(reply.size(), c.length) << c.what;
    if (c.firstByte >= 0 && !reply.empty()) {
      EXPECT_EQ(reply[0], c.firstByte) << c.what;
    }
  }
}

TEST(SimBoard, HeatingConfigReadsBackWhatWasWritten) {
  BoardFixture f;
  // -100 °C arrives as the low 16 bits of a negative count.
  EXPECT_THAT(f.ask({REQ_SET_CONFIG, 0xF9, 0x9A, 0x2A, 0x42, 0x00, 0x28}), ElementsAre(0xCA));
  EXPECT_THAT(f.ask({REQ_GET_CONFIG}), ElementsAre(0xF9, 0x9A, 0x2A, 0x42, 0x00, 0x28));
  // A short order is refused and changes nothing.
  EXPECT_THAT(f.ask({REQ_SET_CONFIG, 0x01, 0x02}), ElementsAre(0x00));
  EXPECT_THAT(f.ask({REQ_GET_CONFIG}), ElementsAre(0xF9, 0x9A, 0x2A, 0x42, 0x00, 0x28));
}

// Byte 6 of the readings: the heater.
bool HeaterReported(BoardFixture& f) {
  return ReplyReader(f.ask({REQ_GET_VOLTAGE})).byte(6) != 0;
}

TArrayByte Config(double thresholdC, double thresholdRH, bool automatic) {
  const auto t = static_cast<std::uint16_t>(CelsiusToCount(thresholdC));
  const auto h = static_cast<std::uint16_t>(HumidityToCount(thresholdRH, {}));
  return {REQ_SET_CONFIG,
          static_cast<std::uint8_t>(t >> 8),
          static_cast<std::uint8_t>(t),
          static_cast<std::uint8_t>(h >> 8),
          static_cast<std::uint8_t>(h),
          static_cast<std::uint8_t>(automatic),
          60};
}

TEST(SimBoard, HeaterFollowsThresholdsInAutomaticModeAndTheForcedOrderOtherwise) {
  BoardFixture f;  // about 4 °C and 88 % outside
  f.ask(Config(0, 95, true));
  EXPECT_FALSE(HeaterReported(f)) << "warmer and drier than both thresholds";
  f.ask(Config(10, 95, true));
  EXPECT_TRUE(HeaterReported(f)) << "below the temperature threshold";
  f.ask(Config(0, 80, true));
  EXPECT_TRUE(HeaterReported(f)) << "above the humidity threshold";
  f.ask(Config(-100, 95, true));
  EXPECT_FALSE(HeaterReported(f)) << "a negative threshold count is below every reading";
  EXPECT_THAT(f.ask({REQ_ENABLE_HEATER, 1}), ElementsAre(1)) << "automatic mode still on";
  EXPECT_FALSE(HeaterReported(f)) << "the forced order waits for manual mode";

  f.ask(Config(10, 80, false));
  EXPECT_TRUE(HeaterReported(f)) << "forced on";
  EXPECT_THAT(f.ask({REQ_ENABLE_HEATER, 0}), ElementsAre(0));
  EXPECT_FALSE(HeaterReported(f)) << "forced off whatever the thresholds";
  const TArrayByte readings = f.ask({REQ_GET_VOLTAGE});
  EXPECT_EQ(readings[7], 0) << "automatic flag";
  EXPECT_EQ(readings[8], 60) << "power level";
}

TEST(SimBoard, IdentityWriteShowsInTheNextVersionReplyAndSerialRead) {
  BoardFixture f;
  EXPECT_THAT(f.ask({0xA8, 0x20, '0', '0', '1', '3', '4', '9', '9', '9'}), ElementsAre(0x7E));
  EXPECT_THAT(f.ask({REQ_ORDER_VERSION}), ElementsAre(3, 5, 0x20, 0));
  EXPECT_THAT(f.ask({REQ_GET_SERIAL}), ElementsAre('0', '0', '1', '3', '4', '9', '9', '9'));
  EXPECT_EQ(f.board.identity().serial, "134999");

  // Not "00" and six digits: refused, nothing stored.
  for (const TArrayByte& bad : {TArrayByte{0xA8, 0x21, '0', '0', '1', '3', '4', '9', '9'},
                                TArrayByte{0xA8, 0x21, '1', '0', '1', '3', '4', '9', '9', '9'},
                                TArrayByte{0xA8, 0x21, '0', '0', '1', '3', 'x', '9', '9', '9'}}) {
    EXPECT_THAT(f.ask(bad), ElementsAre(0x00));
  }
  EXPECT_THAT(f.ask({REQ_ORDER_VERSION}), ElementsAre(3, 5, 0x20, 0));
  EXPECT_EQ(f.board.identity().serial, "134999");
}

TEST(SimBoard, FocusMovesWithinTheLensRange) {
  BoardFixture f;
  const auto focus = [&](std::uint8_t command, std::int16_t offset) {
    const auto word = static_cast<std::uint16_t>(offset);
    return f.ask({SET_CANON_FOCUS, command, static_cast<std::uint8_t>(word >> 8),
                  static_cast<std::uint8_t>(word & 0xFF)});
  };
  EXPECT_THAT(focus(0x14, 1000), ElementsAre(0x06, 0x03, 0xE8));
  EXPECT_THAT(focus(0x14, -300), ElementsAre(0x06, 0x02, 0xBC));
  EXPECT_EQ(f.board.lens().focusPosition(), 700);
  focus(0x14, -1000);
  EXPECT_EQ(f.board.lens().focusPosition(), 0) << "stops at the near end";
  focus(0x12, 0);
  EXPECT_EQ(f.board.lens().focusPosition(), Lens::kFocusSteps);
  focus(0x14, 5);
  EXPECT_EQ(f.board.lens().focusPosition(), Lens::kFocusSteps) << "stops at the far end";
  focus(0x13, 0);
  EXPECT_EQ(f.board.lens().focusPosition(), 0);
  EXPECT_THAT(focus(0x15, 10), ElementsAre(0x15, 0x00, 0x00)) << "unknown command";
}

TEST(SimBoard, IrisClosesFromFullyOpenWithinTheLensRange) {
  BoardFixture f;  // codes 0x20 to 0x58: 56 steps
  EXPECT_THAT(f.ask({SET_CANON_DIAPH, 0xFF, 0x00}), ElementsAre(0x06, 0));
  EXPECT_THAT(f.ask({SET_CANON_DIAPH, 0x77, 0x1C}), ElementsAre(0x06, 0x1C));
  EXPECT_THAT(f.ask({SET_CANON_DIAPH, 0x77, 0x10}), ElementsAre(0x06, 0x2C));
  EXPECT_THAT(f.ask({SET_CANON_DIAPH, 0x77, 0xFF}), ElementsAre(0x06, 56));
  EXPECT_THAT(f.ask({SET_CANON_DIAPH, 0xFF, 0x10}), ElementsAre(0x06, 0));
  EXPECT_THAT(f.ask({SET_CANON_DIAPH, 0x42, 0x10}), ElementsAre(0x15, 0)) << "unknown mode";
}

TEST(SimBoard, LensAbsentOrRefusing) {
  BoardSetup absent;
  absent.lens.present = false;
  BoardFixture f(absent);
  const TArrayByte info = f.ask({GET_INFOS_EF_CANON});
  ASSERT_EQ(info.size(), 19u);
  EXPECT_THAT(info, Each(0x00));
  EXPECT_THAT(f.ask({SET_CANON_DIAPH, 0x77, 0x10}), ElementsAre(0x15, 0));
  EXPECT_THAT(f.ask({SET_CANON_FOCUS, 0x12, 0, 0}), ElementsAre(0x15, 0, 0));
  EXPECT_EQ(f.board.lens().focusPosition(), 0);

  BoardSetup refusing;
  refusing.lens.id = 1;
  refusing.lens.knowsNameOrder = false;
  BoardFixture g(refusing);
  const TArrayByte refused = g.ask({GET_INFOS_EF_CANON});
  EXPECT_THAT((TArrayByte{refused[0], refused[1], refused[2]}), ElementsAre(0xAA, 0x00, 0x01));
  EXPECT_THAT(g.ask({GET_NAME_EF_CANON}), ElementsAre(0xFF));
}

// Byte 20 of the readings: the cooler status.
std::uint8_t CoolerStatus(BoardFixture& f) {
  return ReplyReader(f.ask({REQ_GET_VOLTAGE})).byte(20);
}

TEST(SimBoard, CoolingModesShowInTheStatusByte) {
  BoardFixture f;
  f.now = EncodeDateTime({2024, 3, 10, 12, 0, 0, 0});
  EXPECT_EQ(CoolerStatus(f) & 0x0F, 0x09) << "automatic, stopped by day";
  f.ask({SET_MANUAL_COOLER_ORDER, 1});
  EXPECT_EQ(CoolerStatus(f) & 0x0F, 0x0B) << "both modes on: automatic decides";
  f.ask({SET_AUTO_COOLER_ORDER, 0});
  EXPECT_EQ(CoolerStatus(f), 0x06) << "manual, running, no causes";
  const TArrayByte readings = f.ask({REQ_GET_VOLTAGE});
  EXPECT_EQ(readings[17], 0x07) << "day, cooling and fan on";
  EXPECT_GT(readings[18] * 256 + readings[19], 2000) << "fan value";
  f.ask({SET_MANUAL_COOLER_ORDER, 0});
  EXPECT_EQ(CoolerStatus(f), 0x00) << "no mode";
}

TEST(SimBoard, BootloaderOrderLeavesTheApplication) {
  BoardFixture f;
  EXPECT_TRUE(f.board.answer(BuildRequestFrame({REQ_BOOTLOADER})).empty());
  EXPECT_TRUE(f.board.inBootloader());
  EXPECT_TRUE(f.board.answer(BuildRequestFrame({REQ_ORDER_VERSION})).empty());
}

}  // namespace
}  // namespace vesk::sim
