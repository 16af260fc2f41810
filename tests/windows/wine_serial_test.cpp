// The Win32 serial layer run for real: vesk-cli.exe under Wine opens COM<n>, which the Wine
// prefix links to the pseudo-terminal of a running vesk-board-sim, and must tell what the
// Linux vesk-cli tells of the same board.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "tests/cli/cli_run.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/wine_text.h"

namespace vesk {
namespace {

using test::CliResult;
using test::OnDriveZ;
using test::WithoutCr;
using ::testing::ElementsAreArray;
using ::testing::Ge;

// The name before the colon of each line.
std::vector<std::string> LineNames(const std::string& text) {
  std::vector<std::string> names;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    names.push_back(line.substr(0, line.find(':')));
  }
  return names;
}

class WineSerial : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* prefix = std::getenv("WINEPREFIX");
    ASSERT_NE(prefix, nullptr) << "ctest makes the Wine prefix; run these through it";
    dosDevices_ = std::filesystem::path(prefix) / "dosdevices";
    ASSERT_TRUE(std::filesystem::is_directory(dosDevices_)) << dosDevices_;
  }

  void TearDown() override {
    std::error_code ignored;
    if (!comLink_.empty()) {
      std::filesystem::remove(comLink_, ignored);
    }
  }

  // vesk-board-sim on ports/COM<port> of the folder, and COM<port> of the prefix linked to it.
  void startBoard(int port, std::vector<std::string> args) {
    port_ = port;
    args.insert(args.end(), {"--folder", folder.path().string(), "--port", std::to_string(port)});
    board_ = std::make_unique<test::SimProcess>(VESK_BOARD_SIM, std::move(args));
    // The line comes once the port's link is in place.
    ASSERT_FALSE(board_->firstLine().empty()) << "the simulated board did not start";
    comLink_ = dosDevices_ / ("com" + std::to_string(port));
    std::error_code ignored;
    std::filesystem::remove(comLink_, ignored);
    std::filesystem::create_symlink(folder / "ports" / ("COM" + std::to_string(port)), comLink_);
  }

  CliResult windowsCli(const std::string& command, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {VESK_CLI_EXE, "--log-folder", OnDriveZ(folder.path()),
                                     command,      "--port",       std::to_string(port_)};
    args.insert(args.end(), extra.begin(), extra.end());
    CliResult result = test::RunProgram(folder.path(), VESK_WINE, std::move(args));
    result.out = WithoutCr(result.out);
    result.err = WithoutCr(result.err);
    return result;
  }

  CliResult linuxCli(const std::string& command, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {
        "--log-folder", folder.path().string(), command, "--port", std::to_string(port_),
        "--folder",     folder.path().string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return test::RunCli(folder.path(), std::move(args));
  }

  test::TempFolder folder;
  int port_ = 0;

 private:
  std::filesystem::path dosDevices_;
  std::filesystem::path comLink_;
  std::unique_ptr<test::SimProcess> board_;
};

// COM5 by its plain name, COM12 through the device namespace ("\\.\COM12").
struct BoardCase {
  int port;
  std::vector<std::string> board;
};

const BoardCase kBoards[] = {
    {5, {"--preset", "astel2-ext-v2"}},
    {12, {"--preset", "astel9", "--serial", "654321"}},
};

TEST_F(WineSerial, IdentifyAndPollTellWhatLinuxTells) {
  for (const BoardCase& c : kBoards) {
    SCOPED_TRACE("COM" + std::to_string(c.port));
    ASSERT_NO_FATAL_FAILURE(startBoard(c.port, c.board));

    const CliResult linuxIdentify = linuxCli("identify");
    ASSERT_EQ(linuxIdentify.exitCode, 0) << linuxIdentify.err;
    const CliResult identify = windowsCli("identify");
    EXPECT_EQ(identify.exitCode, 0) << identify.err;
    EXPECT_EQ(identify.err, "");
    EXPECT_EQ(identify.out, linuxIdentify.out) << "model, firmware and serial number";

    const CliResult linuxPoll = linuxCli("poll", {"--count", "1"});
    const CliResult poll = windowsCli("poll", {"--count", "3", "--interval", "0.05"});
    EXPECT_EQ(poll.exitCode, 0) << poll.err;
    EXPECT_EQ(poll.err, "");
    // Readings move with the board's clock; each poll shows the lines the Linux build shows.
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i) {
      for (const std::string& name : LineNames(linuxPoll.out)) {
        expected.push_back(name.starts_with("Poll ") ? "Poll " + std::to_string(i + 1) : name);
      }
    }
    EXPECT_THAT(LineNames(poll.out), ElementsAreArray(expected)) << poll.out;
    TearDown();
  }
}

TEST_F(WineSerial, SilentBoardTimesOutAfterTwoSeconds) {
  ASSERT_NO_FATAL_FAILURE(startBoard(6, {"--silent"}));
  const auto start = std::chrono::steady_clock::now();
  const CliResult identify = windowsCli("identify");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(identify.exitCode, 1);
  EXPECT_EQ(identify.out, "");
  EXPECT_EQ(identify.err,
            "Issue with data link (FATAL ERROR) : Read Buffer, ERROR -> read=0 byte(s), "
            "expected=2 byte(s) ->ordre : REQ_ORDER_VERSION !\n(port 6 is COM6)\n");
  // The read waits for its whole timeout: a port left without one would fail at once.
  EXPECT_THAT(elapsed, Ge(std::chrono::milliseconds(2000)));
}

struct MissingCase {
  int port;
  const char* device;
};

TEST_F(WineSerial, PortThatDoesNotExistCannotBeOpened) {
  for (const MissingCase c : {MissingCase{7, "COM7"}, MissingCase{13, "\\\\.\\COM13"}}) {
    SCOPED_TRACE(c.device);
    port_ = c.port;
    const std::string failure =
        "Issue with data link (FATAL ERROR) : Error -> Cannot open COM port" +
        std::to_string(c.port);
    const CliResult identify = windowsCli("identify");
    EXPECT_EQ(identify.exitCode, 1);
    EXPECT_EQ(identify.err,
              failure + "\n(port " + std::to_string(c.port) + " is " + c.device + ")\n");
    const CliResult poll = windowsCli("poll", {"--json", "--count", "3"});
    EXPECT_EQ(poll.exitCode, 1);
    EXPECT_EQ(poll.out, R"({"ErrorMes":")" + failure + "\"}\n");
  }
}

}  // namespace
}  // namespace vesk
