#pragma once

#include <string>

#include "common/byte_array.h"
#include "common/datetime.h"
#include "link/frame.h"
#include "sim/board.h"

namespace vesk::sim::test {

// 02:00 at night, where the cooler has something to decide.
inline TDateTime Night() {
  return EncodeDateTime({2024, 3, 10, 2, 0, 0, 0});
}

// A board of the default model on a clock the test sets.
struct BoardFixture {
  explicit BoardFixture(BoardSetup setup = {}) : board(setup, [this] { return now; }) {}

  // The reply payload of one order, checked to come in a well-formed frame.
  TArrayByte ask(const TArrayByte& order) {
    const TArrayByte frame = board.answer(BuildRequestFrame(order));
    if (frame.size() < 3 || frame != BuildReplyFrame({frame.begin() + 2, frame.end() - 1})) {
      throw std::runtime_error("no well-formed reply frame");
    }
    return {frame.begin() + 2, frame.end() - 1};
  }

  TDateTime now = Night();
  Board board;
};

}  // namespace vesk::sim::test
