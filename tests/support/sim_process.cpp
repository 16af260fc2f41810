#include "tests/support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

extern char** environ;

namespace vesk::test {
namespace {

constexpr int kDeadlineMs = 10000;

}  // namespace

SimProcess::SimProcess(const std::string& executable, std::vector<std::string> args) {
  std::string folder;
  std::string port;
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--folder") {
      folder = args[i + 1];
    } else if (args[i] == "--port") {
      port = args[i + 1];
    }
  }
  // Only a board has a link of its own; vesk-cli serve takes the same options for the link it
  // opens.
  if (std::filesystem::path(executable).filename() == "vesk-board-sim" && !folder.empty() &&
      !port.empty()) {
    link_ = std::filesystem::path(folder) / "ports" / ("COM" + port);
  }
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  args.insert(args.begin(), executable);
  std::vector<char*> argv;
  for (std::string& a : args) {
    argv.push_back(a.data());
  }
  argv.push_back(nullptr);
  const int failed =
      posix_spawn(&pid_, executable.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  out_ = out[0];
  if (failed != 0) {
    close(out_);
    throw std::runtime_error("cannot start " + executable);
  }
  pidFd_ = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
}

SimProcess::~SimProcess() {
  if (pid_ > 0) {
    kill(SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  close(out_);
  if (pidFd_ >= 0) {
    close(pidFd_);
  }
}

std::string SimProcess::nextLine(std::chrono::milliseconds within) {
  const auto deadline = std::chrono::steady_clock::now() + within;
  std::string line;
  char c = 0;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    pollfd p{out_, POLLIN, 0};
    if (left <= 0 || poll(&p, 1, static_cast<int>(left)) != 1 || read(out_, &c, 1) != 1) {
      return "";
    }
    if (c == '\n') {
      return line;
    }
    line += c;
  }
}

int SimProcess::stop(int signal) {
  kill(signal);
  return exitStatus();
}

void SimProcess::kill(int signal) {
  // A killed board leaves its link behind, pointing at a terminal number the system soon
  // gives to another test's board, which a program retrying on that link would then open.
  // The link goes first.
  if (signal == SIGKILL && !link_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(link_, ignored);
  }
  ::kill(pid_, signal);
}

int SimProcess::exitStatus() {
  int status = 0;
  if (!ended(status)) {
    return -1;
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits for the end through the process descriptor; kernels without one are asked again
// every few milliseconds.
bool SimProcess::ended(int& status) {
  if (pidFd_ >= 0) {
    pollfd p{pidFd_, POLLIN, 0};
    return poll(&p, 1, kDeadlineMs) == 1 && waitpid(pid_, &status, 0) == pid_;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDeadlineMs);
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    poll(nullptr, 0, 5);
  }
  return true;
}

}  // namespace vesk::test
