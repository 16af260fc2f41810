// vesk-cli weather against a running vesk-board-sim: the page's rows for a headless machine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "tests/cli/board_cli.h"
#include "weather/weather_readout.h"

namespace vesk {
namespace {

using ::testing::HasSubstr;

using test::CliResult;
using test::Lines;
using WeatherCli = test::BoardCli;

bool Matches(const std::string& text, const char* pattern) {
  return std::regex_match(text, std::regex(pattern));
}

// What an older or faulty weather module leaves out: the rows it lacks read "Not supported",
// and a reply too short for a row prints the rows before it, then fails.
struct ReplyCase {
  const char* name;
  const char* length;  // bytes of the module's reply the board sends; null: all 19
  std::size_t rows;
  bool referenceTest;
  const char* status;  // null: no status line
  int exitCode;
  const char* error;
};

const ReplyCase kReplies[] = {
    {"whole", nullptr, 9, true, "OK", 0, ""},
    {"no status", "18", 9, true, "Not supported...", 0, ""},
    {"no reference test", "16", 9, false, "Not supported...", 0, ""},
    {"pressure and humidity only", "5", 2, false, nullptr, 1, "Range check error"},
};

TEST_F(WeatherCli, RowsAsThePageShowsThem) {
  int port = 30;
  for (const ReplyCase& c : kReplies) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> board = {"--preset", "astel2-ext-v2"};
    if (c.length != nullptr) {
      board.insert(board.end(), {"--data-ext-length", c.length});
    }
    board_.reset();
    startBoard(++port, board);
    const CliResult text = run("weather");
    EXPECT_EQ(text.exitCode, c.exitCode) << text.err;
    EXPECT_EQ(text.err, c.error == std::string() ? "" : std::string(c.error) + "\n");
    const std::vector<std::string> lines = Lines(text.out);
    ASSERT_EQ(lines.size(), c.rows + (c.status != nullptr ? 1 : 0)) << text.out;
    for (std::size_t row = 0; row < c.rows; ++row) {
      std::string caption = kWeatherRowCaptions[row];
      caption.resize(22, ' ');
      EXPECT_EQ(lines[row].substr(0, 22), caption);
    }
    EXPECT_TRUE(Matches(lines[0], R"(^ Pressure Sensor {6} [01]{4}( [01]{4}){3} {5}0x[0-9A-F]{4})"
                                  R"( {3}\d+ {4,}\d+\.\d Local hPa {11}\d+\.\d See level hPa)"
                                  R"( \(at 20°C\)$)"))
        << lines[0];
    if (c.referenceTest) {
      EXPECT_TRUE(Matches(lines[1],
                          R"(^ 2\.5V ADC tests {17}[01]{4}( [01]{4}){2} {5}0x[0-9A-F]{3,4})"
                          R"( {3}\d+ {4,}\d\.\d{3} V must be 2\.5V {10}Diff=-?\d\.\d{3} V$)"))
          << lines[1];
    } else {
      EXPECT_EQ(lines[1],
                " 2.5V ADC tests       Not supported" + std::string(30, ' ') + "Not supported");
    }
    if (c.rows > 2) {
      EXPECT_TRUE(Matches(lines[2],
                          R"(^ ADC temperature {16}[01]{4}( [01]{4}){2} {5}0x[0-9A-F]{3,4})"
                          R"( {3}\d+ {4,}-?\d+\.\d\d °C$)"))
          << lines[2];
    }
    if (c.status != nullptr) {
      EXPECT_EQ(lines.back(), std::string("ADC Status :  ") + c.status);
    }

    // The same rows as JSON objects, the degree sign as one character.
    const CliResult json = run("weather", {"--json"});
    EXPECT_EQ(json.exitCode, c.exitCode) << json.err;
    const std::vector<std::string> objects = Lines(json.out);
    ASSERT_EQ(objects.size(), c.rows + (c.status != nullptr || c.error[0] != '\0' ? 1 : 0))
        << json.out;
    EXPECT_TRUE(Matches(objects[0],
                        R"re(^\{"Caption":" Pressure Sensor","Raw":" [01 ]{19} {5})re"
                        R"re(0x[0-9A-F]{4} {3}\d+","Value":" {4}\d+\.\d Local hPa {11})re"
                        R"re(\d+\.\d See level hPa \(at 20\\u00B0C\)","Red":false\}$)re"))
        << objects[0];
    if (c.status != nullptr) {
      EXPECT_EQ(objects.back(),
                std::string(R"({"ADCStatus":")") + c.status +
                    (c.status == std::string("OK") ? R"(","Red":false})" : R"("})"));
    }
    if (c.error[0] != '\0') {
      EXPECT_EQ(objects.back(), std::string(R"({"ErrorMes":")") + c.error + R"("})");
    }
  }
}

TEST_F(WeatherCli, ABoardWithoutTheModuleIsRefused) {
  startBoard(40, {"--preset", "astel9"});
  const CliResult result = run("weather");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "The board has no weather module (model type 32)\n");
}

}  // namespace
}  // namespace vesk
