#include "sim/in_process_board.h"

#include <fcntl.h>
#include <unistd.h>

#include "common/exceptions.h"
#include "sim/board_server.h"

namespace vesk::sim {

InProcessBoard::InProcessBoard(const BoardSetup& setup, BoardClock clock)
    : board_(setup, std::move(clock)) {
  if (pipe2(stopPipe_, O_CLOEXEC) != 0) {
    throw Exception("Cannot create the stop pipe of the simulated board");
  }
  thread_ = std::thread([this] {
    ServeBoard(pty_.masterFd(), stopPipe_[0], [this](const TArrayByte& frame) {
      std::lock_guard lock(mutex_);
      return ServedReply{board_.answer(frame), board_.replyDelay()};
    });
  });
}

InProcessBoard::~InProcessBoard() {
  const char stop = 1;
  [[maybe_unused]] const auto written = ::write(stopPipe_[1], &stop, 1);
  thread_.join();
  close(stopPipe_[0]);
  close(stopPipe_[1]);
}

}  // namespace vesk::sim
