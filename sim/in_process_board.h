#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "link/pseudo_terminal.h"
#include "sim/board.h"

namespace vesk::sim {

// The simulated board on a pseudo-terminal of this process, served by its own thread: the
// stand-in for hardware in tests of the link, the poll and the windows.
class InProcessBoard {
 public:
  explicit InProcessBoard(const BoardSetup& setup = {}, BoardClock clock = SystemClock());
  // Stops serving; the port link goes with the pseudo-terminal.
  ~InProcessBoard();
  InProcessBoard(const InProcessBoard&) = delete;
  InProcessBoard& operator=(const InProcessBoard&) = delete;

  // Makes <folder>/ports/COM<number> lead to this board.
  std::filesystem::path linkAsPort(const std::filesystem::path& folder, int number) {
    return pty_.linkAsPort(folder, number);
  }
  const std::string& devicePath() const { return pty_.slavePath(); }

  // Runs fn(board) while the board is not answering, to read or change its state.
  template <typename Fn>
  auto withBoard(Fn&& fn) {
    std::lock_guard lock(mutex_);
    return fn(board_);
  }

 private:
  Board board_;
  std::mutex mutex_;
  PseudoTerminal pty_;
  int stopPipe_[2] = {-1, -1};
  std::thread thread_;
};

}  // namespace vesk::sim
