#include "device/cooling_orders.h"

#include <gtest/gtest.h>

#include "common/exceptions.h"
#include "link/order_codes.h"
#include "tests/support/sim_line.h"

namespace vesk {
namespace {

sim::CoolingModes Modes(test::SimLine& line) {
  return line.board.withBoard([](sim::Board& b) { return b.cooling(); });
}

TEST(CoolingOrders, EachOrderSwitchesItsModeWhateverTheBoardRuns) {
  const struct {
    bool automatic, manual;  // the board's modes before the order
    bool manualOrder, on;
    bool automaticAfter, manualAfter;
  } cases[] = {
      {true, false, true, true, true, true},      // manual on beside automatic
      {true, false, false, false, false, false},  // automatic off
      {false, true, true, false, false, false},   // manual off
      {false, true, false, true, true, true},     // automatic on beside manual
      {false, false, true, true, false, true},    // manual on from neither
      {true, true, false, false, false, true},    // automatic off leaves manual
  };
  test::SimLine line;
  for (const auto& c : cases) {
    line.exchange({SET_AUTO_COOLER_ORDER, c.automatic});
    line.exchange({SET_MANUAL_COOLER_ORDER, c.manual});
    if (c.manualOrder) {
      SetManualCooler(line.link, c.on);
    } else {
      SetAutoCooler(line.link, c.on);
    }
    const sim::CoolingModes after = Modes(line);
    EXPECT_EQ(after.automatic, c.automaticAfter) << &c - cases;
    EXPECT_EQ(after.manual, c.manualAfter) << &c - cases;
  }
}

TEST(CoolingOrders, FailingBoardRaisesTheLinkError) {
  const struct {
    sim::BoardFaults fault;
    bool manualOrder;
  } cases[] = {
      {{.badStart = true}, true},      {{.badStart = true}, false},
      {{.badChecksumEvery = 1}, true}, {{.badChecksumEvery = 1}, false},
      {{.silent = true}, true},
  };
  test::SimLine line;
  for (const auto& c : cases) {
    line.board.withBoard([&c](sim::Board& b) { b.setFaults(c.fault); });
    EXPECT_THROW(c.manualOrder ? SetManualCooler(line.link, true) : SetAutoCooler(line.link, true),
                 Exception)
        << &c - cases;
  }
}

}  // namespace
}  // namespace vesk
