// The station session against the simulated board: the connection's log lines and what the
// face is told, the reconnection of a lost link, and every reading on the disk between saves.
#include "station/station_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>

#include "common/exceptions.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "history/history_write.h"
#include "history/synthetic_history.h"
#include "tests/station/session_on_board.h"

namespace vesk {
namespace {

using test::SessionOnBoard;
using ::testing::Contains;
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

// The records of a history file as the next start would load them.
std::size_t RecordsOnDisk(const std::filesystem::path& file) {
  TTinfosRec loaded;
  LoadHistory(file, kCurrentHistoryTag, loaded);
  return loaded.size();
}

TEST(StationSession, TheConnectionLogsTheMonitorsLinesAndTellsEachStep) {
  const struct {
    std::uint8_t major;
    std::vector<std::string> lines;
    std::vector<std::string> told;
  } cases[] = {
      {3,
       {"COM3 Opened -> ", "Startup ->  Ver. FIRM : 3.5", "Firmware > 2.0", "Camera Type : 23",
        "Setup Done", "GetcurrentSetup->  Temperature threshold : ", "GetData-> "},
       {"version", "model 23", "serial 127512", "identified new", "poll S", "connected new"}},
      // Below firmware 2 the reply tells no model: no model lines, no serial number.
      {1,
       {"COM3 Opened -> ", "Startup ->  Ver. FIRM : 1.5",
        "GetcurrentSetup->  Temperature threshold : ", "GetData-> "},
       {"version", "identified new", "poll S", "connected new"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int{c.major});
    SessionOnBoard line(23, "127512", c.major);
    EXPECT_TRUE(line.session.Connect(SessionOnBoard::kPort));
    EXPECT_TRUE(line.session.Connected());
    EXPECT_THAT(Starts(line.log.texts(), c.lines), ElementsAreArray(c.lines));
    EXPECT_THAT(line.observer.told, ElementsAreArray(c.told));
    EXPECT_EQ(line.station.Datas().size(), 1u) << "the waiting poll is kept";
    EXPECT_EQ(line.station.Identity().SerialNumber, c.major >= 3 ? "127512" : "");
  }
}

TEST(StationSession, AFailedConnectionIsLoggedClosedAndTold) {
  SessionOnBoard line;
  line.unplugBoard();
  EXPECT_FALSE(line.session.Connect(SessionOnBoard::kPort));
  EXPECT_FALSE(line.session.Connected());
  const std::string noPort = "Issue with data link (FATAL ERROR) : Error -> Cannot open COM port3";
  EXPECT_THAT(line.observer.told, ElementsAreArray({"failed " + noPort}));
  EXPECT_THAT(line.log.texts(), Contains(noPort));

  // A board that fails every other reply: the version passes, the setup's failure is wrapped
  // (firmware 2 reads no serial number in between), and the port is closed after the line.
  line.plugBoard(23, "127512", 2);
  line.board->withBoard([](sim::Board& b) { b.setFaults({.badChecksumEvery = 2}); });
  EXPECT_FALSE(line.session.Connect(SessionOnBoard::kPort));
  EXPECT_FALSE(line.session.Connected());
  EXPECT_THAT(line.observer.told.back(),
              StartsWith("failed Issue with data link (FATAL ERROR) : Error : voltage read error "
                         "on startup -> "));
  EXPECT_THAT(line.log.texts().back(), StartsWith("COM closed -> "));
}

TEST(StationSession, OnlyThreeFailedPollsInARowLoseTheLink) {
  const struct {
    const char* outcomes;
    bool lost;
  } cases[] = {
      {"FF", false}, {"FFSFF", false}, {"FFF", true}, {"SFSFFF", true}, {"FFFF", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.outcomes);
    SessionOnBoard line;
    ASSERT_TRUE(line.session.Connect(SessionOnBoard::kPort));
    EXPECT_EQ(line.polls(c.outcomes), c.lost);
    EXPECT_EQ(line.session.Reconnecting(), c.lost);
    EXPECT_EQ(line.station.Connected(), !c.lost);
    const long lost = line.indexOf("Link lost -> reconnecting to COM3");
    EXPECT_EQ(lost >= 0, c.lost);
    if (c.lost) {
      EXPECT_EQ(line.indexOf("COM closed -> ", lost), lost + 1) << "the port is closed at once";
    }
  }
}

TEST(StationSession, TheSameBoardComesBackAndItsCountersGoOn) {
  SessionOnBoard line;
  ASSERT_TRUE(line.session.Connect(SessionOnBoard::kPort));
  ASSERT_FALSE(line.polls("S"));
  line.unplugBoard();
  ASSERT_TRUE(line.polls("FFF"));

  // While the board is away every attempt fails at the port and leaves it closed.
  line.session.ReconnectTick();
  line.session.ReconnectTick();
  EXPECT_TRUE(line.session.Reconnecting());
  EXPECT_THAT(line.log.texts(), Contains("Error -> Cannot open COM port3"));

  line.plugBoard(23);
  line.observer.told.clear();
  line.session.ReconnectTick();
  const long restored = line.indexOf("Link restored -> COM3");
  ASSERT_GT(restored, line.indexOf("Link lost -> reconnecting to COM3"));
  EXPECT_EQ(line.indexOf("COM3 Opened -> ", restored - 1), restored - 1);
  EXPECT_THAT(line.observer.told,
              ElementsAreArray({"version restoring", "model 23", "serial 127512", "identified same",
                                "poll S", "connected same"}));
  EXPECT_TRUE(line.station.Connected());
  EXPECT_FALSE(line.session.Reconnecting());
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

TEST(StationSession, AnotherModelOrSerialNumberIsANewConnection) {
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
    SessionOnBoard line;
    ASSERT_TRUE(line.session.Connect(SessionOnBoard::kPort));
    ASSERT_TRUE(line.polls("FFF"));
    line.plugBoard(c.type, c.serial);
    line.session.ReconnectTick();
    ASSERT_TRUE(line.session.Connected());
    EXPECT_EQ(line.observer.told.back(), c.newBoard ? "connected new" : "connected same");
    EXPECT_EQ(line.station.Identity().TypeCam, c.type);
    // A new connection counts from its own first poll, as the operator's does.
    EXPECT_EQ(line.station.NbPools(), c.newBoard ? 1u : 5u);
    EXPECT_EQ(line.station.NbPoolsFailed(), c.newBoard ? 0u : 3u);
  }
}

TEST(StationSession, TheSettingAndTheOperatorDecideOnReconnecting) {
  SessionOnBoard off;
  StationSettings settings;
  settings.autoReconnect = false;
  off.session.ApplySettings(settings);
  ASSERT_TRUE(off.session.Connect(SessionOnBoard::kPort));
  EXPECT_FALSE(off.polls("FFFFF"));
  EXPECT_TRUE(off.station.Connected()) << "left to the operator, as before";

  SessionOnBoard stopped;
  ASSERT_TRUE(stopped.session.Connect(SessionOnBoard::kPort));
  ASSERT_TRUE(stopped.polls("FFF"));
  stopped.session.Disconnect();  // the operator's DISCONNECT
  EXPECT_FALSE(stopped.session.Reconnecting());
  EXPECT_FALSE(stopped.station.LinkHeld());
  stopped.session.ReconnectTick();
  EXPECT_EQ(stopped.indexOf("COM3 Opened -> ", stopped.indexOf("Link lost")), -1)
      << "no attempt after the operator stopped them";
}

TEST(StationSession, AFailureAfterTheVersionGoesBackToTheAttempts) {
  SessionOnBoard line(23, "127512", 2);
  ASSERT_TRUE(line.session.Connect(SessionOnBoard::kPort));
  ASSERT_TRUE(line.polls("FFF"));
  // The version passes, the setup read after it fails.
  line.board->withBoard([](sim::Board& b) { b.setFaults({.badChecksumEvery = 2}); });
  line.session.ReconnectTick();
  const long failed = line.indexOf("Issue with data link (FATAL ERROR) : Error : voltage read");
  ASSERT_GE(failed, 0);
  EXPECT_THAT(line.log.texts()[static_cast<std::size_t>(failed + 1)], StartsWith("COM closed -> "));
  EXPECT_TRUE(line.session.Reconnecting());
  EXPECT_FALSE(line.station.Connected());

  line.failReplies(false);
  line.session.ReconnectTick();
  EXPECT_TRUE(line.station.Connected());
  EXPECT_EQ(line.observer.told.back(), "connected same");
}

// The window's attempts run on a thread of their own and end through its event queue, here a
// queue the test drains.
struct Queued {
  void post(std::function<void()> call) {
    std::lock_guard lock(mutex);
    calls.push_back(std::move(call));
    arrived.notify_all();
  }
  // Waits for one call and runs it on the test's thread.
  bool runNext() {
    std::function<void()> call;
    {
      std::unique_lock lock(mutex);
      if (!arrived.wait_for(lock, std::chrono::seconds(10), [this] { return !calls.empty(); })) {
        return false;
      }
      call = std::move(calls.front());
      calls.pop_front();
    }
    call();
    return true;
  }

  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<std::function<void()>> calls;
};

TEST(StationSession, AttemptsOffTheThreadEndOnItAndADisconnectionDropsThem) {
  test::BoardOnPort line;
  Queued queue;
  test::RecordingObserver observer;
  StationSession session(line.folder.path(), StationSettings{},
                         [&queue](std::function<void()> call) { queue.post(std::move(call)); },
                         observer, {.attemptsOffThread = true});
  const auto loseTheLink = [&] {
    line.failReplies(true);
    for (int i = 0; i < 3; ++i) {
      session.Poll(true);
    }
    line.failReplies(false);
  };
  ASSERT_TRUE(session.Connect(3));
  loseTheLink();
  ASSERT_TRUE(session.Reconnecting());

  session.ReconnectTick();
  EXPECT_TRUE(session.AttemptRunning());
  session.ReconnectTick();  // one attempt at a time
  ASSERT_TRUE(queue.runNext());
  EXPECT_FALSE(session.AttemptRunning());
  EXPECT_TRUE(session.Connected());
  EXPECT_EQ(observer.told.back(), "connected same");
  EXPECT_TRUE(queue.calls.empty()) << "the second tick started nothing";

  // Lost again; the operator disconnects while an attempt holds the port: the attempt's port
  // is closed at once, so the operator's next connection opens it.
  loseTheLink();
  session.ReconnectTick();
  session.Disconnect();
  EXPECT_TRUE(session.Connect(3));
  ASSERT_TRUE(queue.runNext());  // the dropped attempt's call finds nothing
  EXPECT_TRUE(session.Connected());
  EXPECT_FALSE(session.Reconnecting());
}

TEST(StationSession, EveryReadingIsOnTheDiskBeforeTheNextPollAndTheBackupStaysASaveBehind) {
  SessionOnBoard line;
  const auto file = line.folder / "DatasVesk.bin";
  const auto backup = line.folder / "DatasVesk.bin.back";
  line.session.LoadHistory();
  ASSERT_TRUE(line.session.Connect(SessionOnBoard::kPort));
  // A new station: its first reading made the file.
  EXPECT_EQ(RecordsOnDisk(file), 1u);
  line.polls("SFS");
  EXPECT_EQ(RecordsOnDisk(file), 3u) << "no save ran: the polls appended their records";
  EXPECT_FALSE(std::filesystem::exists(backup));

  EXPECT_TRUE(line.session.PeriodicSave());
  EXPECT_EQ(RecordsOnDisk(file), 3u);
  line.polls("SS");
  EXPECT_EQ(RecordsOnDisk(file), 5u);
  EXPECT_TRUE(line.session.PeriodicSave());
  EXPECT_EQ(RecordsOnDisk(backup), 3u) << "the copy holds the previous save, not the polls since";
  EXPECT_EQ(RecordsOnDisk(file), 5u);
  EXPECT_THAT(line.log.texts(), Contains("Data period recording OK -- each mins "));

  // The next start finds every reading.
  line.polls("S");
  SessionOnBoard next;
  std::filesystem::copy_file(file, next.folder / "DatasVesk.bin");
  next.session.LoadHistory();
  EXPECT_EQ(next.station.Datas().size(), 6u);
}

TEST(StationSession, ASaveWhoseLateLoadFailsLeavesTheFileAndKeepsTheReadings) {
  SessionOnBoard line;
  const auto file = line.folder / "DatasVesk.bin";
  // More records than one block of the load, so the load reports its progress; what the
  // progress raises is no load failure (those set a damaged file aside) but ends the load.
  WriteHistoryFile(file, GenerateHistory(46000.0, 70000, 10.0));
  ASSERT_TRUE(line.session.Connect(SessionOnBoard::kPort));  // the start never loaded it
  line.polls("S");
  ASSERT_EQ(line.station.Datas().size(), 2u);

  EXPECT_THROW(line.session.SaveHistory([](const std::string&) { throw 1; }), EInOutError);
  EXPECT_EQ(RecordsOnDisk(file), 70000u) << "not saved over with the two new readings";
  EXPECT_EQ(line.station.Datas().size(), 2u);

  EXPECT_FALSE(line.session.PeriodicSave([] { throw EInOutError("settings"); }));
  line.session.SaveHistory();
  EXPECT_EQ(RecordsOnDisk(file), 70002u);
}

}  // namespace
}  // namespace vesk
