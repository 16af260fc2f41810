// vesk-board-sim: the simulated board behind a pseudo-terminal linked as
// <folder>/ports/COM<n>, served until SIGTERM or SIGINT.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "common/exceptions.h"
#include "common/program_folder.h"
#include "link/pseudo_terminal.h"
#include "sim/board.h"
#include "sim/board_server.h"
#include "sim/sim_options.h"

namespace {

using namespace vesk;
using namespace vesk::sim;

// The stop signals are taken from the normal delivery and read from a descriptor, so the
// server hears them in the same poll as the line.
int StopSignals() {
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  if (sigprocmask(SIG_BLOCK, &stop, nullptr) != 0) {
    throw Exception("Cannot block the stop signals");
  }
  const int fd = signalfd(-1, &stop, SFD_CLOEXEC);
  if (fd < 0) {
    throw Exception("Cannot read the stop signals");
  }
  return fd;
}

int Run(const SimOptions& options) {
  const int stopFd = StopSignals();
  Board board(options.setup, options.speed == 1 ? SystemClock() : FastClock(options.speed));
  std::ofstream record;
  if (!options.record.empty()) {
    record.open(options.record, std::ios::trunc);
    if (!record) {
      throw Exception("Cannot write " + options.record.string());
    }
    // Flushed at once: a reader checks the file while the board is still running.
    board.setOrderObserver(
        [&record](const TArrayByte& order) { record << OrderText(order) << std::endl; });
  }
  PseudoTerminal pty;
  const auto folder = options.folder.empty() ? ProgramFolder() : options.folder;
  const auto alias = pty.linkAsPort(folder, options.port);
  std::cout << pty.slavePath() << std::endl;
  std::cerr << "Simulated board (model " << int{options.setup.identity.type} << ", firmware "
            << int{options.setup.identity.major} << "." << int{options.setup.identity.minor}
            << ") on " << alias.string() << std::endl;
  ServeBoard(pty.masterFd(), stopFd, [&board](const TArrayByte& frame) {
    return ServedReply{board.answer(frame), board.replyDelay()};
  });
  close(stopFd);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  try {
    options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const Exception& e) {
    std::cerr << "vesk-board-sim: " << e.message() << "\nTry 'vesk-board-sim --help'.\n";
    return 2;
  }
  if (options.help) {
    std::cout << SimUsage();
    return 0;
  }
  try {
    return Run(options);
  } catch (const std::exception& e) {
    std::cerr << "vesk-board-sim: " << e.what() << "\n";
    return 1;
  }
}
