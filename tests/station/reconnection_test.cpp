// A lost link found again, against the simulated board taken away and brought back.
#include "station/reconnection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "acquisition/thread_request.h"
#include "station/connect_sequence.h"
#include "tests/station/station_on_board.h"

namespace vesk {
namespace {

using ::testing::Contains;
using ::testing::StartsWith;

// A connected station whose polls report to its reconnection, as the window's and serve's do.
struct Watched : test::StationOnBoard {
  explicit Watched(std::uint8_t type = 23, const std::string& serial = "127512")
      : StationOnBoard(type, serial) {
    station.SetPollPresenter([this](const ThreadRequest& worker) {
      lost = reconnection.PollEnded(worker.ErrorMes.empty()) || lost;
    });
    ConnectStation(station, kPort);
    reconnection.Watch(kPort);
  }

  // Polls as the string says, 'S' a reading, 'F' a failed one; whether one of them lost
  // the link.
  bool polls(const std::string& outcomes) {
    lost = false;
    for (const char outcome : outcomes) {
      failReplies(outcome == 'F');
      station.PollDevice(true);
    }
    failReplies(false);
    return lost;
  }

  // The rest of the usual connection after a successful attempt; whether it was a new board.
  bool restore(const DeviceIdentity& version) {
    bool newBoard = false;
    CompleteConnection(station, version, [&] { newBoard = reconnection.Identified(); });
    reconnection.Watch(kPort);
    return newBoard;
  }

  // The position of the first log text starting with `start`, from `from` on; -1 if none.
  long indexOf(const std::string& start, long from = 0) const {
    const auto texts = log.texts();
    for (auto i = static_cast<std::size_t>(from); i < texts.size(); ++i) {
      if (texts[i].starts_with(start)) {
        return static_cast<long>(i);
      }
    }
    return -1;
  }

  Reconnection reconnection{station};
  bool lost = false;
};

TEST(Reconnection, OnlyThreeFailedPollsInARowLoseTheLink) {
  const struct {
    const char* outcomes;
    bool lost;
  } cases[] = {
      {"FF", false}, {"FFSFF", false}, {"FFF", true}, {"SFSFFF", true}, {"FFFF", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.outcomes);
    Watched line;
    EXPECT_EQ(line.polls(c.outcomes), c.lost);
    EXPECT_EQ(line.reconnection.Reconnecting(), c.lost);
    EXPECT_EQ(line.station.Connected(), !c.lost);
    const long lost = line.indexOf("Link lost -> reconnecting to COM3");
    EXPECT_EQ(lost >= 0, c.lost);
    if (c.lost) {
      EXPECT_EQ(line.indexOf("COM closed -> ", lost), lost + 1) << "the port is closed at once";
    }
  }
}

TEST(Reconnection, TheSameBoardComesBackAndItsCountersGoOn) {
  Watched line;
  ASSERT_FALSE(line.polls("S"));
  line.unplugBoard();
  ASSERT_TRUE(line.polls("FFF"));

  // While the board is away every attempt fails at the port and leaves it closed.
  EXPECT_FALSE(line.reconnection.Attempt());
  EXPECT_FALSE(line.reconnection.Attempt());
  EXPECT_TRUE(line.reconnection.Reconnecting());
  EXPECT_THAT(line.log.texts(), Contains("Error -> Cannot open COM port3"));

  line.plugBoard(23);
  const auto version = line.reconnection.Attempt();
  ASSERT_TRUE(version);
  const long restored = line.indexOf("Link restored -> COM3");
  ASSERT_GT(restored, line.indexOf("Link lost -> reconnecting to COM3"));
  EXPECT_EQ(line.indexOf("COM3 Opened -> ", restored - 1), restored - 1);
  EXPECT_FALSE(line.restore(*version));
  EXPECT_TRUE(line.station.Connected());
  EXPECT_FALSE(line.reconnection.Reconnecting());
  for (const char* text : {"Startup ->  Ver. FIRM : 3.5", "Camera Type : 23", "Setup Done",
                           "GetcurrentSetup->  ", "GetData-> "}) {
    EXPECT_GT(line.indexOf(text, restored), restored) << text;
  }

  ASSERT_FALSE(line.polls("S"));
  // The connection's poll, one reading, three failures, the restored link's poll, one more.
  EXPECT_EQ(line.station.NbPools(), 7u);
  EXPECT_EQ(line.station.NbPoolsFailed(), 3u);
  EXPECT_EQ(line.station.Datas().size(), 4u) << "one record per successful poll";

  // Counted afresh after the restore.
  EXPECT_FALSE(line.polls("FF"));
  EXPECT_TRUE(line.polls("F"));
}

TEST(Reconnection, AnotherModelOrSerialNumberIsANewConnection) {
  const struct {
    std::uint8_t type;
    const char* serial;
    bool newBoard;
  } cases[] = {
      {23, "127512", false},
      {34, "127512", true},
      {23, "130001", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int{c.type});
    SCOPED_TRACE(c.serial);
    Watched line;
    ASSERT_TRUE(line.polls("FFF"));
    line.plugBoard(c.type, c.serial);
    const auto version = line.reconnection.Attempt();
    ASSERT_TRUE(version);
    EXPECT_EQ(line.restore(*version), c.newBoard);
    EXPECT_EQ(line.station.Identity().TypeCam, c.type);
    // A new connection counts from its own first poll, as the operator's does.
    EXPECT_EQ(line.station.NbPools(), c.newBoard ? 1u : 5u);
    EXPECT_EQ(line.station.NbPoolsFailed(), c.newBoard ? 0u : 3u);
  }
}

TEST(Reconnection, TheSettingAndTheOperatorDecide) {
  Watched off;
  off.reconnection.SetEnabled(false);
  EXPECT_FALSE(off.polls("FFFFF"));
  EXPECT_TRUE(off.station.Connected()) << "left to the operator, as before";

  Watched stopped;
  ASSERT_TRUE(stopped.polls("FFF"));
  stopped.reconnection.Stop();  // the operator's DISCONNECT
  EXPECT_FALSE(stopped.reconnection.Reconnecting());
  EXPECT_FALSE(stopped.reconnection.Attempt()) << "no attempt after the operator stopped them";
  EXPECT_EQ(stopped.indexOf("COM3 Opened -> ", stopped.indexOf("Link lost")), -1);
}

TEST(Reconnection, AFailureAfterTheVersionGoesBackToTheAttempts) {
  Watched line;
  ASSERT_TRUE(line.polls("FFF"));
  ASSERT_TRUE(line.reconnection.Attempt());
  line.reconnection.RestoreFailed("Error : voltage read error on startup -> broken");
  const long failed = line.indexOf("Issue with data link (FATAL ERROR) : Error : voltage read");
  ASSERT_GE(failed, 0);
  EXPECT_THAT(line.log.texts()[static_cast<std::size_t>(failed + 1)], StartsWith("COM closed -> "));
  EXPECT_TRUE(line.reconnection.Reconnecting());
  EXPECT_FALSE(line.station.Connected());

  const auto version = line.reconnection.Attempt();
  ASSERT_TRUE(version);
  EXPECT_FALSE(line.restore(*version));
  EXPECT_TRUE(line.station.Connected());
}

}  // namespace
}  // namespace vesk
