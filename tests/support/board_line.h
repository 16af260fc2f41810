#pragma once

#include <map>
#include <memory>

#include "link/com_obj_rs232.h"
#include "link/pseudo_terminal.h"
#include "tests/support/log_capture.h"
#include "tests/support/scripted_peer.h"
#include "tests/support/temp_folder.h"

namespace vesk::test {

// An open link on ports/COM5 of a temporary program folder, and a scripted board answering
// each order code with a fixed payload (an unknown code gets silence).
class BoardLine {
 public:
  static constexpr int kPort = 5;

  BoardLine();
  ~BoardLine();

  // The payload the board answers to an order code, framed as a reply.
  void answer(std::uint8_t order, const TArrayByte& payload);
  // Raw bytes the board sends for an order code (a broken frame, or nothing).
  void answerRaw(std::uint8_t order, const TArrayByte& bytes);

  // The order codes received, in order.
  std::vector<std::uint8_t> orders() const;

  TempFolder folder;
  LogCapture log{folder.path()};
  PseudoTerminal pty;
  TComObjRs232 link{folder.path()};
  std::unique_ptr<ScriptedPeer> peer;

 private:
  mutable std::mutex mutex_;
  std::map<std::uint8_t, TArrayByte> replies_;
};

}  // namespace vesk::test
