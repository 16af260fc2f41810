// The vesk-board-sim program as the run command starts it: it links ports/COM<n>, answers
// the monitor's own link, and removes the link when told to stop.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "acquisition/sensor_conversions.h"
#include "common/reply_reader.h"
#include "link/com_obj_rs232.h"
#include "link/order_codes.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace vesk::sim {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Ge;
using ::testing::Le;

constexpr int kPort = 13;
constexpr int kDeadlineMs = 10000;

// A running vesk-board-sim whose standard output comes through a pipe.
class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> args) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    args.insert(args.begin(), VESK_BOARD_SIM);
    std::vector<char*> argv;
    for (std::string& a : args) {
      argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const int failed = posix_spawn(&pid_, VESK_BOARD_SIM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    out_ = out[0];
    if (failed != 0) {
      close(out_);
      throw std::runtime_error("cannot start " + std::string(VESK_BOARD_SIM));
    }
    pidFd_ = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
  }

  ~SimProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(out_);
    if (pidFd_ >= 0) {
      close(pidFd_);
    }
  }

  // The first line the program prints, or "" when none came in time.
  std::string firstLine() {
    std::string line;
    char c = 0;
    pollfd p{out_, POLLIN, 0};
    while (poll(&p, 1, kDeadlineMs) == 1 && read(out_, &c, 1) == 1 && c != '\n') {
      line += c;
    }
    return c == '\n' ? line : "";
  }

  // The exit status after SIGTERM, or -1 when the program did not end in time.
  int terminate() {
    kill(pid_, SIGTERM);
    return exitStatus();
  }

  // The exit status once the program ends, -1 when it does not in time or was killed.
  int exitStatus() {
    int status = 0;
    if (!ended(status)) {
      return -1;
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  // Waits for the end through the process descriptor; kernels without one are asked again
  // every few milliseconds.
  bool ended(int& status) {
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

  pid_t pid_ = -1;
  int out_ = -1;
  int pidFd_ = -1;
};

TEST(SimProgram, ServesTheMonitorsLinkUntilTerminated) {
  vesk::test::TempFolder folder;
  vesk::test::LogCapture log(folder.path());
  const auto alias = folder.path() / "ports" / ("COM" + std::to_string(kPort));
  SimProcess sim({"--folder", folder.path().string(), "--port", std::to_string(kPort)});

  const std::string device = sim.firstLine();
  ASSERT_FALSE(device.empty()) << "no device path printed";
  EXPECT_EQ(std::filesystem::read_symlink(alias), device);

  TComObjRs232 link(folder.path());
  link.OpenCom(kPort);
  TArrayByte version;
  link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, version);
  EXPECT_THAT(version, ElementsAre(3, 5, 34, 0));

  TArrayByte readings;
  link.SendOrder_ReceiveFeedBack({REQ_GET_VOLTAGE}, readings);
  const ReplyReader r(readings);
  EXPECT_THAT(CountToCelsius(r.word(0)), AllOf(Ge(-30), Le(40)));
  EXPECT_THAT(CountToHumidity(r.word(2)), AllOf(Ge(0), Le(100)));
  link.CloseCom();

  EXPECT_EQ(sim.terminate(), 0);
  EXPECT_FALSE(std::filesystem::is_symlink(alias)) << "link left behind";
}

TEST(SimProgram, RefusesABadOption) {
  SimProcess sim({"--firmware", "three"});
  EXPECT_EQ(sim.exitStatus(), 2);
}

}  // namespace
}  // namespace vesk::sim
