#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#ifndef _WIN32
#include "link/pseudo_terminal.h"
#endif
#include "sim/board.h"

namespace vesk::sim {

// The simulated board on a pseudo-terminal of this process, served by its own thread: the
// stand-in for hardware in tests of the link, the poll and the windows. On Windows
// (in_process_board_win32.cpp) on a named pipe, opened by its device path as a COM port is:
// the board's silence there ends the connection after the link's read time-out, as a pipe
// knows no read time-out of its own.
class InProcessBoard {
 public:
  explicit InProcessBoard(const BoardSetup& setup = {}, BoardClock clock = SystemClock());
  // Stops serving; the port link goes with the pseudo-terminal.
  ~InProcessBoard();
  InProcessBoard(const InProcessBoard&) = delete;
  InProcessBoard& operator=(const InProcessBoard&) = delete;

#ifndef _WIN32
  // Makes <folder>/ports/COM<number> lead to this board.
  std::filesystem::path linkAsPort(const std::filesystem::path& folder, int number) {
    return pty_.linkAsPort(folder, number);
  }
  const std::string& devicePath() const {
    return pty_.slavePath();
  }
#else
  // The pipe's name, "\\.\pipe\vesk-board-…".
  const std::string& devicePath() const {
    return pipeName_;
  }
#endif

  // Runs fn(board) while the board is not answering, to read or change its state.
  template <typename Fn>
  auto withBoard(Fn&& fn) {
    std::lock_guard lock(mutex_);
    return fn(board_);
  }

 private:
  Board board_;
  std::mutex mutex_;
#ifndef _WIN32
  PseudoTerminal pty_;
  int stopPipe_[2] = {-1, -1};
#else
  void serve();
  std::string pipeName_;
  void* pipe_ = nullptr;  // HANDLEs: the pipe's board end, and the stop's event
  void* stop_ = nullptr;
#endif
  std::thread thread_;
};

}  // namespace vesk::sim
