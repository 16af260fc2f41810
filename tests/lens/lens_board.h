#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

#include "sim/board.h"
#include "tests/support/window_fixture.h"

namespace vesk::test {

// A lens board: a model and firmware that show one of the two lens pages, with this lens.
inline sim::BoardSetup LensBoard(std::uint8_t type, std::uint8_t major, std::uint8_t minor,
                                 const sim::LensSetup& lens = {}) {
  sim::BoardSetup setup;
  setup.identity = {major, minor, type, 0, "127512"};
  setup.lens = lens;
  return setup;
}

// The iris and focus orders the board received, as "A4 77 10".
inline QStringList MotorOrders(WindowFixture& fixture) {
  QStringList orders;
  fixture.board->withBoard([&](sim::Board& board) {
    for (const TArrayByte& order : board.lens().motorOrders()) {
      orders << QString::fromStdString(sim::OrderText(order));
    }
  });
  return orders;
}

// Another lens on the running board.
inline void ChangeLens(WindowFixture& fixture, const sim::LensSetup& lens) {
  fixture.board->withBoard([&](sim::Board& board) { board.setLens(lens); });
}

}  // namespace vesk::test
