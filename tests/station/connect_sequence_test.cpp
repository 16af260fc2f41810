// The connection without a window: the monitor's log lines in the monitor's order.
#include "station/connect_sequence.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/exceptions.h"
#include "tests/station/station_on_board.h"

namespace vesk {
namespace {

using ::testing::ElementsAreArray;
using ::testing::StartsWith;

// The texts from the first one starting with `from`, each cut to the length of its
// expectation, so lines that carry readings compare by their fixed start.
std::vector<std::string> Starts(const std::vector<std::string>& texts,
                                const std::vector<std::string>& expected) {
  std::vector<std::string> cut;
  for (std::size_t i = 0; i < texts.size() && cut.size() < expected.size(); ++i) {
    if (cut.empty() && !texts[i].starts_with(expected.front())) {
      continue;
    }
    cut.push_back(texts[i].substr(0, expected[cut.size()].size()));
  }
  return cut;
}

TEST(ConnectSequence, LogsTheMonitorsLinesInItsOrder) {
  const struct {
    std::uint8_t major;
    std::vector<std::string> lines;
  } cases[] = {
      {3,
       {"COM3 Opened -> ", "Startup ->  Ver. FIRM : 3.5", "Firmware > 2.0", "Camera Type : 23",
        "Setup Done", "GetcurrentSetup->  Temperature threshold : ", "GetData-> "}},
      // Below firmware 2 the reply tells no model: no model lines, no serial number.
      {1,
       {"COM3 Opened -> ", "Startup ->  Ver. FIRM : 1.5",
        "GetcurrentSetup->  Temperature threshold : ", "GetData-> "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int{c.major});
    test::StationOnBoard line(23, "127512", c.major);
    ConnectStation(line.station, test::StationOnBoard::kPort);
    EXPECT_TRUE(line.station.Connected());
    EXPECT_THAT(Starts(line.log.texts(), c.lines), ElementsAreArray(c.lines));
    EXPECT_EQ(line.station.Datas().size(), 1u) << "the waiting poll is kept";
    EXPECT_EQ(line.station.Identity().SerialNumber, c.major >= 3 ? "127512" : "");
  }
}

TEST(ConnectSequence, AFailureClosesThePortAndIsRaised) {
  test::StationOnBoard line;
  line.unplugBoard();
  try {
    ConnectStation(line.station, test::StationOnBoard::kPort);
    FAIL() << "connected without a board";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), "Error -> Cannot open COM port3");
  }
  EXPECT_FALSE(line.station.Connected());

  // A board that fails every other reply: the version passes, the setup's failure is wrapped
  // (firmware 2 reads no serial number in between).
  line.plugBoard(23, "127512", 2);
  line.board->withBoard([](sim::Board& b) { b.setFaults({.badChecksumEvery = 2}); });
  try {
    ConnectStation(line.station, test::StationOnBoard::kPort);
    FAIL() << "connected through a failing setup read";
  } catch (const Exception& e) {
    EXPECT_THAT(e.message(), StartsWith("Error : voltage read error on startup -> "));
  }
  EXPECT_FALSE(line.station.Connected());
  EXPECT_THAT(line.log.texts().back(), StartsWith("COM closed -> "));
}

}  // namespace
}  // namespace vesk
