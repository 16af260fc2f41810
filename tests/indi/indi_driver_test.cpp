// indi_vesk_weather under Debian's indiserver, driven and read by indi_setprop and
// indi_getprop as an observatory's client would, against the simulated board on a
// pseudo-terminal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/folder_lock.h"
#include "common/number_text.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "tests/cli/cli_run.h"
#include "tests/support/free_port.h"
#include "tests/support/log_capture.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_child.h"

namespace vesk {
namespace {

using ::testing::HasSubstr;
using namespace std::chrono_literals;

constexpr char kDevice[] = "Vesk Weather";

// The number of a field of a flat JSON object ("TempExt":12.48...).
double JsonNumber(const std::string& json, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const auto at = json.find(key);
  double value = 0;
  if (at == std::string::npos ||
      !TextToFloat(
          json.substr(at + key.size(), json.find_first_of(",}", at + key.size()) - at - key.size()),
          value)) {
    ADD_FAILURE() << name << " missing in " << json;
  }
  return value;
}

// indiserver with the driver on a free port, HOME a folder of the test's (the driver's
// default program folder is HOME/.indi/vesk), the board on ports/COM3 of the test's folder.
class IndiDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_ALL, "C");
    std::filesystem::create_directories(driverFolder);
    std::filesystem::create_directories(scratch);
    // Attempts on a lost link every 0.2 s.
    std::ofstream(driverFolder / "VeskLevel.ini") << "[Misc]\r\nReconnectPeriod=0.2\r\n";
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("INDICONFIG");
    server = std::make_unique<test::SimProcess>(
        VESK_INDISERVER, std::vector<std::string>{"-p", port, VESK_INDI_DRIVER});
    ASSERT_TRUE(Await("DEVICE_PORT.PORT", [](const std::string&) { return true; }))
        << "the driver did not come up";
  }

  void startBoard(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--folder", folder.path().string(), "--port", "3",
                                     "--record", orders.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    board = std::make_unique<test::SimProcess>(VESK_BOARD_SIM, std::move(args));
    devicePath = board->firstLine();
    ASSERT_FALSE(devicePath.empty()) << "the simulated board did not start";
  }

  // "Vesk Weather.<property.element>"'s value, "" when the server does not tell it.
  std::string Get(const std::string& property) {
    const test::CliResult r = test::RunProgram(
        scratch, VESK_INDI_GETPROP, {"-p", port, "-t", "2", std::string(kDevice) + "." + property});
    const auto equals = r.out.find('=');
    if (equals == std::string::npos) {
      return "";
    }
    return r.out.substr(equals + 1, r.out.find('\n', equals) - equals - 1);
  }

  double GetNumber(const std::string& property) {
    double value = 0;
    EXPECT_TRUE(TextToFloat(Get(property), value)) << property;
    return value;
  }

  void Set(const std::string& assignment) {
    const test::CliResult r = test::RunProgram(
        scratch, VESK_INDI_SETPROP, {"-p", port, std::string(kDevice) + "." + assignment});
    ASSERT_EQ(r.exitCode, 0) << assignment << ": " << r.err;
  }

  // Polls the property until its value passes, for at most 15 s.
  bool Await(const std::string& property, const std::function<bool(const std::string&)>& ok) {
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    std::string value;
    while (!ok(value = Get(property))) {
      if (std::chrono::steady_clock::now() > deadline) {
        ADD_FAILURE() << property << " is still \"" << value << "\"";
        return false;
      }
    }
    return true;
  }
  bool AwaitValue(const std::string& property, const std::string& expected) {
    return Await(property, [&](const std::string& v) { return v == expected; });
  }

  bool OrderReceived(const std::string& order) const {
    std::ifstream in(orders);
    for (std::string line; std::getline(in, line);) {
      if (line == order) {
        return true;
      }
    }
    return false;
  }

  std::vector<std::string> DriverLog() const {
    std::vector<std::string> texts;
    for (const auto& entry : std::filesystem::directory_iterator(driverFolder)) {
      if (entry.path().filename().string().starts_with("Log_")) {
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
          texts.push_back(test::LogText(line));
        }
      }
    }
    return texts;
  }

  test::TempFolder folder;
  const std::filesystem::path home = folder / "home";
  const std::filesystem::path driverFolder = home / ".indi" / "vesk";
  const std::filesystem::path scratch = folder / "scratch";
  const std::filesystem::path orders = folder / "orders.txt";
  const std::string port = std::to_string(test::FreeLoopbackPort());
  test::LogCapture testLog{folder.path()};
  std::unique_ptr<test::SimProcess> board;
  std::string devicePath;
  std::unique_ptr<test::SimProcess> server;
};

TEST_F(IndiDriver, ReportsTheBoardJudgesItsSafetyAndDrivesItsHeater) {
  // The readings held still, so the driver's first poll reads what vesk-cli's poll read.
  startBoard({"--outside", "12.5,60"});
  const test::CliResult poll = test::RunProgram(
      scratch, VESK_CLI_PATH,
      {"--log-folder", scratch.string(), "poll", "--device", devicePath, "--json"});
  ASSERT_EQ(poll.exitCode, 0) << poll.err;
  EXPECT_EQ(Get("VESK_FOLDER.PATH"), driverFolder.string());

  // The port is typed as the board's link, so a board started again is found at it. A
  // folder held by another station is refused.
  Set("DEVICE_PORT.PORT=" + (folder / "ports" / "COM3").string());
  {
    const FolderLock held(driverFolder);
    ASSERT_TRUE(held.held());
    Set("CONNECTION.CONNECT=On");
    ASSERT_TRUE(AwaitValue("CONNECTION._STATE", "Alert"));
    EXPECT_EQ(Get("CONNECTION.CONNECT"), "Off");
  }
  Set("CONNECTION.CONNECT=On");
  ASSERT_TRUE(AwaitValue("CONNECTION.CONNECT", "On"));
  ASSERT_TRUE(AwaitValue("WEATHER_STATUS._STATE", "Ok"));
  EXPECT_EQ(GetNumber("WEATHER_UPDATE.PERIOD"), 10) << "the default period";
  EXPECT_NEAR(GetNumber("WEATHER_PARAMETERS.WEATHER_TEMPERATURE"), JsonNumber(poll.out, "TempExt"),
              1e-9);
  EXPECT_NEAR(GetNumber("WEATHER_PARAMETERS.WEATHER_HUMIDITY"), JsonNumber(poll.out, "RHExt"),
              1e-9);
  {
    const FolderLock second(driverFolder);
    EXPECT_FALSE(second.held()) << "the driver holds its folder while connected";
  }

  Set("WEATHER_UPDATE.PERIOD=0.2");
  Set("VESK_HEATER.ON=On");
  EXPECT_TRUE(test::WaitFor([&] { return OrderReceived("A0 01"); }))
      << "the heater order never reached the board";
  // Out of range: refused with nothing sent.
  Set("VESK_HEATING.POWER=150");
  EXPECT_TRUE(AwaitValue("VESK_HEATING._STATE", "Alert"));
  EXPECT_EQ(GetNumber("VESK_HEATING.POWER"), 50) << "the board's own power level shown again";

  // The board gone: Alert once its last reading is three periods old, Ok once it is back.
  board->stop(SIGKILL);
  ASSERT_TRUE(AwaitValue("WEATHER_STATUS.BOARD_LINK", "Alert"));
  EXPECT_EQ(Get("WEATHER_STATUS._STATE"), "Alert");
  startBoard({"--outside", "12.5,60"});
  ASSERT_TRUE(AwaitValue("WEATHER_STATUS._STATE", "Ok"));

  // A humid night: the humidity passes the limit.
  board->stop(SIGKILL);
  startBoard({"--outside", "12.5,95"});
  ASSERT_TRUE(AwaitValue("WEATHER_STATUS.HUMIDITY_LIMIT", "Alert"));
  EXPECT_EQ(Get("WEATHER_STATUS._STATE"), "Alert");
  EXPECT_GT(GetNumber("WEATHER_PARAMETERS.WEATHER_HUMIDITY"), 90);
  EXPECT_EQ(Get("WEATHER_STATUS.BOARD_LINK"), "Ok");

  // Disconnected: the history saved in the driver's folder, its log as serve's.
  Set("CONNECTION.DISCONNECT=On");
  ASSERT_TRUE(AwaitValue("CONNECTION.DISCONNECT", "On"));
  TTinfosRec history;
  LoadHistory(driverFolder / "DatasVesk.bin", kCurrentHistoryTag, history);
  EXPECT_GE(history.size(), 3u);
  const std::vector<std::string> log = DriverLog();
  const std::vector<std::string> expected = {
      "Application opened",
      "Startup ->  Ver. FIRM : 3.5",
      "Setup Done",
      "GetData-> ",
      "Link lost -> ",
      "Link restored -> ",
      "Data saved : DatasVesk.bin,  points number : " + std::to_string(history.size()),
      "Application closed"};
  std::size_t at = 0;
  for (const std::string& line : expected) {
    while (at < log.size() && !log[at].starts_with(line)) {
      ++at;
    }
    EXPECT_LT(at, log.size()) << line << " missing or out of order";
  }
}

}  // namespace
}  // namespace vesk
