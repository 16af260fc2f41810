#pragma once

#include "link/com_obj_rs232.h"
#include "sim/in_process_board.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

namespace vesk::test {

// The simulated board on ports/COM6 of a temporary program folder, and an open link to it.
struct SimLine {
  static constexpr int kPort = 6;

  explicit SimLine(const sim::BoardSetup& setup = {});
  ~SimLine();

  // The board's reply payload to one order, through the link.
  TArrayByte exchange(const TArrayByte& order);

  TempFolder folder;
  LogCapture log{folder.path()};
  sim::InProcessBoard board;
  TComObjRs232 link{folder.path()};
};

}  // namespace vesk::test
