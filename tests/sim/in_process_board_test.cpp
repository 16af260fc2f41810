// The board served on a real pseudo-terminal in this process, reached through the monitor's
// own link.
#include "sim/in_process_board.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "link/com_obj_rs232.h"
#include "link/order_codes.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

namespace vesk::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int kPort = 11;

BoardSetup WithFaults(const BoardFaults& faults) {
  BoardSetup setup;
  setup.faults = faults;
  return setup;
}

struct Linked {
  explicit Linked(const BoardSetup& setup = {}) : board(setup) {
    board.linkAsPort(folder.path(), kPort);
    link.OpenCom(kPort);
  }

  TArrayByte exchange(const TArrayByte& order) {
    TArrayByte reply;
    link.SendOrder_ReceiveFeedBack(order, reply);
    return reply;
  }

  vesk::test::TempFolder folder;
  vesk::test::LogCapture log{folder.path()};
  InProcessBoard board;
  TComObjRs232 link{folder.path()};
};

TEST(SimInProcessBoard, AnswersThroughTheLink) {
  Linked l;
  EXPECT_THAT(l.exchange({REQ_ORDER_VERSION}), ElementsAre(3, 5, 34, 0));
  EXPECT_THAT(l.exchange({REQ_SET_CONFIG, 0x09, 0x9A, 0x2A, 0x42, 0x01, 0x28}), ElementsAre(0xCA));
  EXPECT_THAT(l.exchange({REQ_GET_CONFIG}), ElementsAre(0x09, 0x9A, 0x2A, 0x42, 0x01, 0x28));
  EXPECT_EQ(l.exchange({REQ_GET_VOLTAGE}).size(), 21u);
}

TEST(SimInProcessBoard, LateReplyStillArrivesWithinTheReadTimeout) {
  Linked l(WithFaults({.delay = std::chrono::milliseconds(300)}));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THAT(l.exchange({REQ_ORDER_VERSION}), ElementsAre(3, 5, 34, 0));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

// Faults whose frames arrive whole, so the link rejects them at once.
TEST(SimInProcessBoard, SpoiledFramesAreRejectedByTheLink) {
  const std::pair<BoardFaults, std::string> cases[] = {
      {{.badChecksumEvery = 1}, "Error -> \"checksum\" reply order is invalid ->"},
      {{.badStart = true}, "Error -> Order reply is not valid ->"},
      {{.overLongLength = true}, "length=40 byte(s) announced"},
  };
  for (const auto& [faults, message] : cases) {
    Linked l(WithFaults(faults));
    try {
      l.exchange({REQ_ORDER_VERSION});
      ADD_FAILURE() << message << ": accepted";
    } catch (const Exception& e) {
      EXPECT_THAT(e.message(), HasSubstr(message));
    }
  }
}

}  // namespace
}  // namespace vesk::sim
