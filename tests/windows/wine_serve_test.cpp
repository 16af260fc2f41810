// vesk-cli.exe serve under Wine against a running vesk-board-sim, reached through a COM<n> of
// the Wine prefix, with "Web", "Alpaca" and "MQTT" enabled in its settings file: the web page
// and the Alpaca server answer what it polled, the page's jobs run on serve's thread (the
// series, a login checked against the CNG hash vesk-cli.exe web password wrote, an operation
// that reaches the board), MQTT says why it cannot run, and Ctrl+C ends the run with the
// history saved.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>

#include "tests/cli/cli_run.h"
#include "tests/support/log_capture.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/wine_text.h"

namespace vesk {
namespace {

using nlohmann::json;
using test::OnDriveZ;
using test::WithoutCr;
using ::testing::Contains;
using ::testing::HasSubstr;

constexpr int kPort = 8;

std::vector<std::string> LogTexts(const std::filesystem::path& logs) {
  std::vector<std::string> texts = test::LogFolderTexts(logs);
  std::transform(texts.begin(), texts.end(), texts.begin(), WithoutCr);
  return texts;
}

// The port of the line of serve's log that matches `pattern` (one group: the port); 0 when
// none does yet.
int PortLogged(const std::filesystem::path& logs, const std::regex& pattern) {
  for (const std::string& text : LogTexts(logs)) {
    std::smatch match;
    if (std::regex_search(text, match, pattern)) {
      return std::stoi(match[1]);
    }
  }
  return 0;
}

json JsonOf(const httplib::Result& answer) {
  return answer ? json::parse(answer->body, nullptr, false) : json();
}

class WineServe : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* prefix = std::getenv("WINEPREFIX");
    ASSERT_NE(prefix, nullptr) << "ctest makes the Wine prefix; run these through it";
    comLink_ = std::filesystem::path(prefix) / "dosdevices" / ("com" + std::to_string(kPort));
    std::filesystem::create_directory(logs_);
  }

  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove(comLink_, ignored);
  }

  void startBoard() {
    board_ = std::make_unique<test::SimProcess>(
        VESK_BOARD_SIM, std::vector<std::string>{"--folder", folder_.path().string(), "--port",
                                                 std::to_string(kPort), "--record",
                                                 (folder_ / "orders.txt").string()});
    ASSERT_FALSE(board_->firstLine().empty()) << "the simulated board did not start";
    std::error_code ignored;
    std::filesystem::remove(comLink_, ignored);
    std::filesystem::create_symlink(folder_ / "ports" / ("COM" + std::to_string(kPort)), comLink_);
  }

  std::unique_ptr<test::SimProcess> startServe() {
    return std::make_unique<test::SimProcess>(
        VESK_WINE, std::vector<std::string>{VESK_CLI_EXE, "--log-folder", OnDriveZ(logs_), "serve",
                                            "--folder", OnDriveZ(folder_.path()), "--port",
                                            std::to_string(kPort), "--interval", "0.2", "--json"});
  }

  // The outside temperature of serve's next printed poll; NaN when it printed none.
  static double nextPoll(test::SimProcess& serve) {
    const json line = json::parse(WithoutCr(serve.nextLine()), nullptr, false);
    return line.is_object() && line.contains("TempExt") && line["TempExt"].is_number()
               ? line["TempExt"].get<double>()
               : std::nan("");
  }

  test::TempFolder folder_;
  const std::filesystem::path logs_ = folder_ / "logs";
  std::filesystem::path comLink_;
  std::unique_ptr<test::SimProcess> board_;
};

TEST_F(WineServe, WebPageAndAlpacaAnswerWhatServePolledUntilCtrlC) {
  // The password as the Windows user sets it: on standard input, kept as a CNG hash.
  const test::CliResult password = test::RunProgram(
      folder_.path(), "/bin/sh",
      {"-c", "printf 'dome key\\r\\n' | \"$0\" \"$1\" web password --folder \"$2\"", VESK_WINE,
       VESK_CLI_EXE, OnDriveZ(folder_.path())});
  ASSERT_EQ(password.exitCode, 0) << password.err;
  EXPECT_THAT(WithoutCr(password.out), HasSubstr("Web password set in "));
  ASSERT_TRUE(std::filesystem::exists(folder_ / "VeskWeb.hash"));

  // Both servers on any free port, so the test never meets another.
  std::ofstream(folder_ / "VeskLevel.ini") << "[Alpaca]\r\nEnabled=1\r\nPort=0\r\n"
                                           << "[Web]\r\nEnabled=1\r\nPort=0\r\nBind=127.0.0.1\r\n"
                                           << "[MQTT]\r\nEnabled=1\r\nHost=127.0.0.1\r\n";
  ASSERT_NO_FATAL_FAILURE(startBoard());
  auto serve = startServe();

  // The servers start once the board answered, before the first poll.
  std::vector<double> polled = {nextPoll(*serve)};
  ASSERT_FALSE(std::isnan(polled.back())) << "serve printed no poll";
  const int alpacaPort =
      PortLogged(logs_, std::regex("^Alpaca server listening on 127\\.0\\.0\\.1:([0-9]+), "
                                   "discovery on UDP port [0-9]+"));
  const int webPort = PortLogged(logs_, std::regex("^Web page served on 127\\.0\\.0\\.1:([0-9]+)"));
  ASSERT_NE(alpacaPort, 0) << "no Alpaca server with discovery in the log";
  ASSERT_NE(webPort, 0) << "no web page in the log";
  EXPECT_THAT(LogTexts(logs_), Contains("MQTT not started: the Windows build has no MQTT client"));
  const auto printed = [&](double value) {
    // serve goes on polling meanwhile: its lines wait in the pipe.
    for (int more = 0; more < 200; ++more) {
      if (std::any_of(polled.begin(), polled.end(),
                      [&](double p) { return std::abs(p - value) < 0.05; })) {
        return true;
      }
      polled.push_back(nextPoll(*serve));
    }
    return false;
  };

  httplib::Client web("127.0.0.1", webPort);
  const auto page = web.Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_THAT(page->get_header_value("Content-Type"), HasSubstr("text/html"));
  // The live state names the polled outside temperature as the window writes it.
  const json live = JsonOf(web.Get("/api/live"));
  ASSERT_TRUE(live.is_object());
  EXPECT_TRUE(live["connected"]) << live.dump();
  EXPECT_THAT(live["integrations"].get<std::string>(),
              HasSubstr("MQTT: not started, the Windows build has no MQTT client"));
  const std::string outside = live["readings"]["LabelTemp"];
  EXPECT_THAT(outside, HasSubstr("°C"));
  EXPECT_TRUE(printed(std::stod(outside))) << outside;
  // The series are read on serve's own thread, woken through its queue.
  const json series = JsonOf(web.Get("/api/series?window=1h&columns=200"));
  ASSERT_TRUE(series.is_object()) << "no series";
  EXPECT_FALSE(series.dump().find("SeriesTemp") == std::string::npos) << series.dump();

  // A wrong password is refused, the right one opens the operations: heater on reaches the
  // board.
  const auto wrong =
      web.Post("/api/login", "password=dome+kez", "application/x-www-form-urlencoded");
  ASSERT_TRUE(wrong);
  EXPECT_EQ(wrong->status, 401);
  const auto login =
      web.Post("/api/login", "password=dome+key", "application/x-www-form-urlencoded");
  ASSERT_TRUE(login);
  ASSERT_EQ(login->status, 200) << login->body;
  const std::string cookie = login->get_header_value("Set-Cookie");
  const httplib::Headers session = {{"Cookie", cookie.substr(0, cookie.find(';'))},
                                    {"X-CSRF-Token", JsonOf(login)["csrf"]}};
  const auto heater =
      web.Post("/api/operation", session, "op=heater&on=1", "application/x-www-form-urlencoded");
  ASSERT_TRUE(heater);
  EXPECT_EQ(heater->status, 200) << heater->body;
  std::ifstream orders(folder_ / "orders.txt");
  std::vector<std::string> sent;
  for (std::string line; std::getline(orders, line);) {
    sent.push_back(line);
  }
  EXPECT_THAT(sent, Contains("A0 01"));

  // The Alpaca server reads the same polls.
  httplib::Client alpaca("127.0.0.1", alpacaPort);
  const json devices = JsonOf(alpaca.Get("/management/v1/configureddevices"));
  ASSERT_TRUE(devices.is_object());
  EXPECT_EQ(devices["Value"].size(), 2u) << devices.dump();
  const auto connected = alpaca.Put("/api/v1/observingconditions/0/connected", "Connected=true",
                                    "application/x-www-form-urlencoded");
  ASSERT_TRUE(connected && connected->status == 200);
  const json temperature = JsonOf(alpaca.Get("/api/v1/observingconditions/0/temperature"));
  ASSERT_EQ(temperature["ErrorNumber"], 0) << temperature.dump();
  EXPECT_TRUE(printed(temperature["Value"].get<double>())) << temperature.dump();

  // Ctrl+C, as Wine delivers it to the console's handlers: the history saved, exit 0.
  EXPECT_EQ(serve->stop(SIGINT), 0);
  EXPECT_THAT(LogTexts(logs_), Contains("Stopped by Ctrl+C"));
  EXPECT_TRUE(std::filesystem::exists(folder_ / "DatasVesk.bin"));
  EXPECT_FALSE(web.Get("/api/live")) << "the web page ended with serve";
  EXPECT_FALSE(alpaca.Get("/management/v1/configureddevices")) << "Alpaca ended with serve";
}

}  // namespace
}  // namespace vesk
