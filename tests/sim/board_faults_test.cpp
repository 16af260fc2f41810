#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

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
  const BoardIdentity identity = fixture.board.identity();
  EXPECT_EQ(fixture.ask({REQ_SET_TYPE_SERIAL, 0x20, '0', '0', '1', '3', '0', '0', '0', '0'}),
            TArrayByte{0x00});
  EXPECT_EQ(fixture.board.identity().type, identity.type);
  EXPECT_EQ(fixture.board.identity().serial, identity.serial);
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

// What one reply of the fault mix was: the fault it names, and the bytes and delay it came
// with, checked against that fault.
struct MixedReply {
  std::optional<MixedFault> fault;
  bool looksLikeIt = false;
  std::chrono::milliseconds delay{0};
};

std::vector<MixedReply> MixedReplies(unsigned percent, std::uint32_t seed, int count) {
  BoardSetup setup;
  setup.seed = seed;
  setup.faults.mixPercent = percent;
  Board board(setup, [] { return Night(); });
  TArrayByte badChecksum = kVersionReply;
  badChecksum.back() = 0x4F;
  TArrayByte badStart = kVersionReply;
  badStart.front() = 0x1E;
  const TArrayByte shortReply(kVersionReply.begin(), kVersionReply.begin() + 4);

  std::vector<MixedReply> replies;
  for (int i = 0; i < count; ++i) {
    const TArrayByte reply = board.answer(kVersionRequest);
    MixedReply r{board.lastMixedFault(), false, board.replyDelay()};
    const bool onTime = r.delay == std::chrono::milliseconds(0);
    if (!r.fault) {
      r.looksLikeIt = reply == kVersionReply && onTime;
    } else {
      switch (*r.fault) {
        case MixedFault::Silence:
          r.looksLikeIt = reply.empty() && onTime;
          break;
        case MixedFault::Late:
          r.looksLikeIt =
              reply == kVersionReply && r.delay >= kLateReplyMin && r.delay <= kLateReplyMax;
          break;
        case MixedFault::BadChecksum:
          r.looksLikeIt = reply == badChecksum && onTime;
          break;
        case MixedFault::BadStart:
          r.looksLikeIt = reply == badStart && onTime;
          break;
        case MixedFault::ShortReply:
          r.looksLikeIt = reply == shortReply && onTime;
          break;
        case MixedFault::OverLongLength:
          r.looksLikeIt = reply.size() == 42 && reply[1] == 40 &&
                          reply == BuildReplyFrame({reply.begin() + 2, reply.end() - 1}) && onTime;
          break;
      }
    }
    replies.push_back(r);
  }
  return replies;
}

// The mix spoils about its share of the replies, each with one of the six faults, all six
// turning up, and every spoiled reply is what its fault makes of it.
TEST(SimBoardFaults, MixSpoilsItsShareWithEveryKindOfFault) {
  const struct {
    unsigned percent;
    int least;  // spoiled replies among 6000
    int most;
  } cases[] = {{0, 0, 0}, {5, 240, 360}, {30, 1650, 1950}, {100, 6000, 6000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.percent << " %");
    std::map<MixedFault, int> kinds;
    int spoiled = 0;
    for (const MixedReply& r : MixedReplies(c.percent, 7, 6000)) {
      EXPECT_TRUE(r.looksLikeIt) << (r.fault ? MixedFaultName(*r.fault) : "no fault");
      if (r.fault) {
        ++spoiled;
        ++kinds[*r.fault];
      }
    }
    EXPECT_GE(spoiled, c.least);
    EXPECT_LE(spoiled, c.most);
    if (c.percent > 0) {
      EXPECT_EQ(kinds.size(), std::size_t{kMixedFaultKinds});
    }
    for (const auto& [kind, count] : kinds) {
      // Each about a sixth.
      EXPECT_GT(count * kMixedFaultKinds, spoiled / 2) << MixedFaultName(kind);
    }
  }
}

std::vector<std::optional<MixedFault>> FaultSequence(std::uint32_t seed) {
  std::vector<std::optional<MixedFault>> faults;
  for (const MixedReply& r : MixedReplies(20, seed, 200)) {
    faults.push_back(r.fault);
  }
  return faults;
}

TEST(SimBoardFaults, MixFollowsTheSeed) {
  EXPECT_EQ(FaultSequence(3), FaultSequence(3));
  EXPECT_NE(FaultSequence(3), FaultSequence(4));
}

// A late reply of the mix waits once; the replies after it come on time again, and an
// invalid request frame gets no delay left over from it.
TEST(SimBoardFaults, MixedLateReplyDelaysThatReplyOnly) {
  BoardSetup setup;
  setup.faults.mixPercent = 100;
  Board board(setup, [] { return Night(); });
  int late = 0;
  for (int i = 0; i < 100 && late < 3; ++i) {
    board.answer(kVersionRequest);
    if (board.lastMixedFault() == MixedFault::Late) {
      ++late;
      EXPECT_TRUE(board.answer({0x1D, 0x02, 0x9F, 0x00}).empty());
      EXPECT_EQ(board.replyDelay(), std::chrono::milliseconds(0));
      EXPECT_EQ(board.lastMixedFault(), std::nullopt);
    }
  }
  EXPECT_EQ(late, 3);
}

// Paused, the mix spoils nothing and draws nothing: once it goes on, the replies get the
// faults an unpaused board gives its first replies.
TEST(SimBoardFaults, PausedMixGoesOnWhereItStopped) {
  BoardSetup setup;
  setup.faults.mixPercent = 50;
  Board paused(setup, [] { return Night(); });
  paused.pauseFaultMix(true);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(paused.answer(kVersionRequest), kVersionReply);
    EXPECT_EQ(paused.lastMixedFault(), std::nullopt);
  }
  paused.pauseFaultMix(false);
  Board unpaused(setup, [] { return Night(); });
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(paused.answer(kVersionRequest), unpaused.answer(kVersionRequest)) << i;
    EXPECT_EQ(paused.lastMixedFault(), unpaused.lastMixedFault()) << i;
  }
}

// The mix comes on top of a fault that is always there, on whatever that fault left.
TEST(SimBoardFaults, MixOverAShortReplyKeepsTheHeader) {
  BoardSetup setup;
  setup.faults.mixPercent = 100;
  setup.faults.shortReply = true;
  Board board(setup, [] { return Night(); });
  for (int i = 0; i < 200; ++i) {
    const TArrayByte reply = board.answer(BuildRequestFrame({0x42}));  // unknown: 0xFF
    if (board.lastMixedFault() != MixedFault::Silence) {
      EXPECT_GE(reply.size(), 2u);
    }
  }
}

}  // namespace
}  // namespace vesk::sim
