// vesk-cli serve as a running process against a running vesk-board-sim, with both
// integrations enabled in its settings file: the observatory reads what it polled, the broker
// gets each reading, and "offline" reaches the broker whether the run is stopped or killed.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>

#include "tests/integrations/mosquitto_broker.h"
#include "tests/integrations/mqtt_probe.h"
#include "tests/support/log_capture.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using nlohmann::json;

constexpr char kState[] = "observatory/camera/state";
constexpr char kAvailability[] = "observatory/camera/availability";

bool Is(const std::string& payload, const char* expected) {
  return payload == expected;
}

// The Alpaca port serve's log names; 0 when it names none.
int AlpacaPortLogged(const std::filesystem::path& logs) {
  static const std::regex listening("^Alpaca server listening on 127\\.0\\.0\\.1:([0-9]+)");
  for (const std::string& text : test::LogFolderTexts(logs)) {
    std::smatch match;
    if (std::regex_search(text, match, listening)) {
      return std::stoi(match[1]);
    }
  }
  return 0;
}

TEST(ServeIntegrations, TheObservatoryAndTheBrokerFollowEachRunToItsEnd) {
  std::setlocale(LC_ALL, "C");
  test::TempFolder folder;
  std::filesystem::create_directory(folder / "broker");
  test::MosquittoBroker broker(folder / "broker");
  test::MqttProbe probe(broker.port());
  // Alpaca on any free port, so the test never meets another server.
  std::ofstream(folder / "VeskLevel.ini")
      << "[Alpaca]\r\nEnabled=1\r\nPort=0\r\n"
      << "[MQTT]\r\nEnabled=1\r\nHost=127.0.0.1\r\nPort=" << broker.port()
      << "\r\nTopic=observatory/camera\r\n";
  test::SimProcess board(VESK_BOARD_SIM, {"--folder", folder.path().string(), "--port", "3",
                                          "--model", "34", "--firmware", "3.5"});
  ASSERT_FALSE(board.firstLine().empty()) << "the simulated board did not start";

  const struct {
    const char* how;
    int signal;
    int exitStatus;
  } runs[] = {
      {"stopped: says offline itself", SIGTERM, 0},
      {"killed: the broker tells the last will", SIGKILL, -1},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.how);
    const auto logs = folder / ("log" + std::to_string(run.signal));
    std::filesystem::create_directory(logs);
    test::SimProcess serve(
        VESK_CLI_PATH, {"--log-folder", logs.string(), "serve", "--folder", folder.path().string(),
                        "--port", "3", "--interval", "0.2", "--json"});
    // The integrations start once the board answered, before the first poll.
    std::vector<double> polled;
    const auto takePoll = [&] {
      const json line = json::parse(serve.nextLine(), nullptr, false);
      if (line.is_object() && line.contains("TempExt") && line["TempExt"].is_number()) {
        polled.push_back(line["TempExt"].get<double>());
      }
      return line.is_object();
    };
    ASSERT_TRUE(takePoll()) << "serve printed no poll";
    const int port = AlpacaPortLogged(logs);
    ASSERT_NE(port, 0) << "no Alpaca server in the log";

    httplib::Client client("127.0.0.1", port);
    const auto connected = client.Put("/api/v1/observingconditions/0/connected", "Connected=true",
                                      "application/x-www-form-urlencoded");
    ASSERT_TRUE(connected && connected->status == 200);
    const auto answer = client.Get("/api/v1/observingconditions/0/temperature");
    ASSERT_TRUE(answer && answer->status == 200);
    const json temperature = json::parse(answer->body);
    ASSERT_EQ(temperature["ErrorNumber"], 0) << answer->body;
    // The reading of a poll serve printed, or is about to print.
    const double value = temperature["Value"].get<double>();
    const auto printed = [&] {
      return std::any_of(polled.begin(), polled.end(),
                         [&](double p) { return std::abs(p - value) < 1e-9; });
    };
    for (int more = 0; !printed() && more < 5; ++more) {
      ASSERT_TRUE(takePoll());
    }
    EXPECT_TRUE(printed()) << value;

    EXPECT_TRUE(probe.WaitFor(kAvailability, [](const std::string& p) { return Is(p, "online"); }));
    const auto state = probe.WaitFor(kState);
    ASSERT_TRUE(state);
    EXPECT_TRUE(json::parse(*state, nullptr, false).contains("TempExt")) << *state;

    EXPECT_EQ(serve.stop(run.signal), run.exitStatus);
    EXPECT_TRUE(
        probe.WaitFor(kAvailability, [](const std::string& p) { return Is(p, "offline"); }));
    EXPECT_FALSE(client.Get("/api/v1/observingconditions/0/name")) << "the server ended with serve";
  }
}

}  // namespace
}  // namespace vesk
