#include "tests/support/sim_line.h"

namespace vesk::test {

SimLine::SimLine(const sim::BoardSetup& setup) : board(setup) {
  board.linkAsPort(folder.path(), kPort);
  link.OpenCom(kPort);
}

SimLine::~SimLine() {
  link.CloseCom();
}

TArrayByte SimLine::exchange(const TArrayByte& order) {
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack(order, reply);
  return reply;
}

}  // namespace vesk::test
