// Serial ports by their own names: vesk-cli ports, and --device in place of --port, against a
// running vesk-board-sim reached by its pseudo-terminal's path.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "link/serial_port_list.h"
#include "tests/cli/board_cli.h"
#include "tests/cli/cli_run.h"
#include "tests/support/sim_process.h"
#include "tests/support/test_child.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::Lines;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class PortsCli : public test::BoardCli {
 protected:
  // The board on the port, and its pseudo-terminal's own path.
  std::string startBoardDevice(int port) {
    startBoard(port, {"--serial", "128001"});
    return fs::canonical(portAlias()).string();
  }

  // vesk-cli ARGS with the test's folder for the log and the settings.
  CliResult cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--log-folder", folder.path().string()});
    args.insert(args.end(), {"--folder", folder.path().string()});
    return test::RunCli(folder.path(), std::move(args));
  }
};

TEST_F(PortsCli, DeviceStandsForThePortNumber) {
  const std::string device = startBoardDevice(31);
  // By the pseudo-terminal's path, and by a link to it as /dev/serial/by-id holds them.
  const auto byId = folder / "usb-Vesk_board_128001-if00-port0";
  fs::create_symlink(device, byId);
  for (const std::string& path : {device, byId.string()}) {
    const CliResult identify = cli({"identify", "--device", path});
    EXPECT_EQ(identify.exitCode, 0) << path << "\n" << identify.err;
    EXPECT_THAT(identify.out, HasSubstr("Model type:       34 Astel9 Weather\n"));
    EXPECT_THAT(identify.out, HasSubstr("Serial number:    128001\n"));
  }
  const CliResult poll = cli({"poll", "--device", device, "--json"});
  EXPECT_EQ(poll.exitCode, 0) << poll.err;
  EXPECT_THAT(poll.out, HasSubstr("\"TempExt\":"));
}

TEST_F(PortsCli, ProbeFindsTheBoardWithItsModelAndSerialNumber) {
  const std::string device = startBoardDevice(32);
  const std::string board =
      "\"Probe\":\"board\",\"Version\":3.5,\"TypeCam\":34,"
      "\"label\":\"Astel9 Weather\",\"SerialNumber\":\"128001\"}";
  const CliResult given = cli({"ports", "--probe", "--json", "--device", device});
  EXPECT_EQ(given.exitCode, 0) << given.err;
  EXPECT_THAT(Lines(given.out), ElementsAre("{\"Device\":\"" + device + "\",\"ById\":[]," + board));

  const CliResult text = cli({"ports", "--probe", "--device", device});
  EXPECT_EQ(text.out, device +
                          "\n  probe:            board Astel9 Weather, firmware 3.5, "
                          "serial number 128001\n");

  // Without --device: the machine's ports, and the folder's ports/COM32 leading to the board
  // (not probed here: the machine's own ports are not the test's to write to).
  const CliResult listed = cli({"ports", "--json"});
  EXPECT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_THAT(Lines(listed.out),
              Contains("{\"Device\":\"" + device + "\",\"ById\":[],\"Port\":32}"));
}

TEST_F(PortsCli, ProbeOfADeviceThatIsNoBoardFails) {
  const std::string missing = (folder / "ttyUSB7").string();
  const CliResult probe = cli({"ports", "--probe", "--json", "--device", missing});
  EXPECT_EQ(probe.exitCode, 1);
  EXPECT_EQ(probe.out, "{\"Device\":\"" + missing +
                           "\",\"ById\":[],\"Probe\":\"not opened\",\"ErrorMes\":\"Error -> "
                           "Cannot open serial port " +
                           missing +
                           ": no such device (is the adapter plugged in? vesk-cli ports lists "
                           "the ports)\"}\n");
}

TEST_F(PortsCli, BadUsage) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"identify", "--port", "3", "--device", "/dev/ttyUSB0"},
       "--port and --device name the same thing: give one of them"},
      {{"identify"}, "--port N or --device PATH is needed"},
      {{"identify", "--device", ""}, "--device needs a path"},
      {{"ports", "--device", ""}, "--device needs a path"},
      {{"ports", "extra"}, "unexpected argument \"extra\""},
  };
  for (const Case& c : cases) {
    const CliResult result = cli(c.args);
    EXPECT_EQ(result.exitCode, 2) << c.args.front();
    EXPECT_THAT(result.err, HasSubstr(c.message));
  }
}

// A port a running vesk-cli holds: the next one is told so, and the probe leaves it alone.
TEST_F(PortsCli, BusyPortIsNamedAndNotProbed) {
  const std::string device = startBoardDevice(33);
  test::SimProcess holder(VESK_CLI_PATH, {"--log-folder", folder.path().string(), "poll",
                                          "--device", device, "--count", "2", "--interval", "60"});
  ASSERT_TRUE(test::WaitFor([&] { return !ProcessesHolding(device).empty(); }));

  const CliResult identify = cli({"identify", "--device", device});
  EXPECT_EQ(identify.exitCode, 1);
  EXPECT_EQ(identify.err, "Issue with data link (FATAL ERROR) : Error -> Cannot open serial port " +
                              device + ": busy, another program holds it\n");

  const CliResult probe = cli({"ports", "--probe", "--json", "--device", device});
  EXPECT_EQ(probe.exitCode, 1);
  EXPECT_EQ(probe.out, "{\"Device\":\"" + device +
                           "\",\"ById\":[],\"Probe\":\"busy\",\"HeldBy\":[\"" +
                           std::to_string(holder.pid()) + "\"]}\n");
}

// A device the user may not open: mode 600, owned by root, tried as user 65534.
TEST_F(PortsCli, PermissionDeniedNamesTheDialoutGroup) {
  const char* setpriv = "/usr/bin/setpriv";
  if (geteuid() != 0 || access(setpriv, X_OK) != 0) {
    GTEST_SKIP() << "needs root and setpriv to run vesk-cli as another user";
  }
  const std::vector<std::string> asNobody = {"--reuid=65534", "--regid=65534", "--clear-groups",
                                             VESK_CLI_PATH};
  const auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), asNobody.begin(), asNobody.end());
    return test::RunProgram(folder.path(), setpriv, std::move(args));
  };
  if (run({"--version"}).exitCode != 0) {
    GTEST_SKIP() << "user 65534 cannot run " << VESK_CLI_PATH;
  }
  const std::string device = startBoardDevice(34);
  ASSERT_EQ(chmod(device.c_str(), 0600), 0);
  // A folder that user may write its log to.
  const auto own = folder / "nobody";
  fs::create_directories(own);
  fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::others_exec);
  fs::permissions(own, fs::perms::all);

  const CliResult identify =
      run({"--log-folder", own.string(), "identify", "--device", device, "--folder", own.string()});
  EXPECT_EQ(identify.exitCode, 1);
  EXPECT_EQ(identify.err, "Issue with data link (FATAL ERROR) : Error -> Cannot open serial port " +
                              device +
                              ": permission denied (join the dialout group: sudo usermod -aG "
                              "dialout $USER, then log in again)\n");
}

}  // namespace
}  // namespace vesk
