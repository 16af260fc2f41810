#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link/frame.h"
#include "link/order_codes.h"
#include "sim/board.h"
#include "tests/sim/board_fixture.h"

namespace vesk::sim {
namespace {

using test::Night;

const TArrayByte kVersionRequest = BuildRequestFrame({REQ_ORDER_VERSION});
const TArrayByte kVersionReply{0x1F, 0x05, 0x03, 0x05, 0x22, 0x00, 0x4E};

Board WithFaults(const BoardFaults& faults) {
  BoardSetup setup;
  setup.faults = faults;
  return Board(setup, [] { return Night(); });
}

struct FaultCase {
  const char* what;
  BoardFaults faults;
  TArrayByte reply;
};

const FaultCase kFaults[] = {
    {"none", {}, kVersionReply},
    {"silent", {.silent = true}, {}},
    {"bad start byte", {.badStart = true}, {0x1E, 0x05, 0x03, 0x05, 0x22, 0x00, 0x4E}},
    {"short: the header announces 5, 2 come", {.shortReply = true}, {0x1F, 0x05, 0x03, 0x05}},
    {"bad checksum on every reply",
     {.badChecksumEvery = 1},
     {0x1F, 0x05, 0x03, 0x05, 0x22, 0x00, 0x4F}},
};

TEST(SimBoardFaults, SpoilTheReplyFrame) {
  for (const FaultCase& c : kFaults) {
    Board board = WithFaults(c.faults);
    EXPECT_EQ(board.answer(kVersionRequest), c.reply) << c.what;
  }
}

TEST(SimBoardFaults, OverLongLengthIsAWholeFrame) {
  Board board = WithFaults({.overLongLength = true});
  const TArrayByte reply = board.answer(kVersionRequest);
  ASSERT_EQ(reply.size(), 42u);
  EXPECT_EQ(reply[1], 40) << "above the 28 a reply may announce";
  EXPECT_EQ(reply, BuildReplyFrame({reply.begin() + 2, reply.end() - 1})) << "checksum holds";
  EXPECT_EQ((TArrayByte{reply.begin() + 2, reply.begin() + 6}),
            (TArrayByte{0x03, 0x05, 0x22, 0x00}));
}

TEST(SimBoardFaults, EveryKthReplyHasABadChecksum) {
  Board board = WithFaults({.badChecksumEvery = 3});
  std::vector<bool> good;
  for (int i = 0; i < 7; ++i) {
    good.push_back(board.answer(kVersionRequest) == kVersionReply);
  }
  EXPECT_THAT(good, ::testing::ElementsAre(true, true, false, true, true, false, true));
}

TEST(SimBoardFaults, SilentBoardStillCarriesOutOrders) {
  Board board = WithFaults({.silent = true});
  EXPECT_TRUE(board.answer(BuildRequestFrame({SET_AUTO_COOLER_ORDER, 0})).empty());
  EXPECT_FALSE(board.cooling().automatic);
}

TEST(SimBoardFaults, RefusedSettingsChangeNothing) {
  BoardSetup setup;
  setup.faults.refuseSettings = true;
  test::BoardFixture fixture(setup);
  const HeatingConfig before = fixture.board.heating();
  EXPECT_EQ(fixture.ask({REQ_SET_CONFIG, 0x09, 0x9A, 0x2A, 0x42, 0x00, 40}), TArrayByte{0x00});
  EXPECT_EQ(fixture.ask({REQ_ENABLE_HEATER, 1}), TArrayByte{0x02});
  const HeatingConfig after = fixture.board.heating();
  EXPECT_EQ(after.tempThreshold, before.tempThreshold);
  EXPECT_EQ(after.automatic, before.automatic);
  EXPECT_EQ(after.power, before.power);
  EXPECT_EQ(after.forced, before.forced);
}

TEST(SimBoardFaults, ObserverSeesEveryValidOrderTheBootloaderOneIncluded) {
  Board board = WithFaults({.silent = true});
  std::vector<TArrayByte> orders;
  board.setOrderObserver([&orders](const TArrayByte& order) { orders.push_back(order); });
  board.answer(kVersionRequest);
  board.answer({0x1D, 0x02, 0x9F, 0x00});  // bad checksum: not an order
  board.answer(BuildRequestFrame({REQ_BOOTLOADER}));
  EXPECT_THAT(orders,
              ::testing::ElementsAre(TArrayByte{REQ_ORDER_VERSION}, TArrayByte{REQ_BOOTLOADER}));
}

// Older weather modules send neither the reference test nor the converter status; the frame
// around the shorter reply is whole.
TEST(SimBoardFaults, WeatherReplyCutToItsFirstBytes) {
  for (const std::size_t length : {16u, 18u, 19u}) {
    Board board = WithFaults({.dataExtLength = length});
    const TArrayByte reply = board.answer(BuildRequestFrame({REQ_GET_DATAEXT}));
    ASSERT_EQ(reply.size(), length + 3) << length;
    EXPECT_EQ(reply, BuildReplyFrame({reply.begin() + 2, reply.end() - 1})) << length;
  }
  // Every other reply is whole.
  EXPECT_EQ(WithFaults({.dataExtLength = 5}).answer(kVersionRequest), kVersionReply);
}

TEST(SimBoardFaults, DelayIsTheBoards) {
  EXPECT_EQ(WithFaults({.delay = std::chrono::milliseconds(250)}).replyDelay(),
            std::chrono::milliseconds(250));
  EXPECT_EQ(WithFaults({}).replyDelay(), std::chrono::milliseconds(0));
}

}  // namespace
}  // namespace vesk::sim
