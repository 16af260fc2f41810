#pragma once

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace vesk::test {

// A running program (the built vesk-board-sim) whose standard output comes through a pipe;
// killed when the object goes.
class SimProcess {
 public:
  SimProcess(const std::string& executable, std::vector<std::string> args);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // The first line the program prints, or "" when none came in time.
  std::string firstLine() { return nextLine(); }
  // The next line it prints, or "" when none came within the time.
  std::string nextLine(std::chrono::milliseconds within = std::chrono::seconds(10));

  pid_t pid() const { return pid_; }
  // Sends a signal (SIGKILL: the program crashes) and waits for the end; the exit status,
  // or -1 when it did not end in time or ended by the signal.
  int stop(int signal);

  // The exit status after SIGTERM, or -1 when the program did not end in time.
  int terminate() { return stop(SIGTERM); }

  // The exit status once the program ends, -1 when it does not in time or was killed.
  int exitStatus();

 private:
  bool ended(int& status);
  void kill(int signal);

  pid_t pid_ = -1;
  // The board's ports/COM<n> link, from its --folder and --port; empty for other programs.
  std::filesystem::path link_;
  int out_ = -1;
  int pidFd_ = -1;
};

}  // namespace vesk::test
