// vesk-board-sim: the simulated board behind a pseudo-terminal linked as
// <folder>/ports/COM<n>, served until SIGTERM or SIGINT.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <atomic>
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

// SIGUSR1 pauses the fault mix, SIGUSR2 lets it go on.
std::atomic<bool> mixPaused{false};

void SwitchFaultMix(int signal) {
  mixPaused = signal == SIGUSR1;
}

void TakeFaultMixSignals() {
  struct sigaction action {};
  action.sa_handler = SwitchFaultMix;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGUSR1, &action, nullptr);
  sigaction(SIGUSR2, &action, nullptr);
}

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
  TakeFaultMixSignals();
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
  // Linked before the path is printed: a reader of the first line finds the link in place.
  std::string linked;
  try {
    linked = ", linked as " + pty.linkAsPort(folder, options.port).string();
  } catch (const std::exception& e) {
    // An installed simulator's folder is the system's: the device path still reaches it.
    linked = " (no ports/COM" + std::to_string(options.port) + " link: " + e.what() + ")";
  }
  std::cout << pty.slavePath() << std::endl;
  std::cerr << "Simulated board (model " << int{options.setup.identity.type} << ", firmware "
            << int{options.setup.identity.major} << "." << int{options.setup.identity.minor}
            << ") on " << pty.slavePath() << linked << std::endl;
  ServeBoard(pty.masterFd(), stopFd, [&board](const TArrayByte& frame) {
    board.pauseFaultMix(mixPaused);
    ServedReply reply{board.answer(frame), board.replyDelay()};
    if (const auto fault = board.lastMixedFault()) {
      // A soak counts what it was given.
      std::cerr << "Fault: " << MixedFaultName(*fault);
      if (*fault == MixedFault::Late) {
        std::cerr << " (" << reply.delay.count() << " ms)";
      }
      std::cerr << std::endl;
    }
    return reply;
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
