// vesk-cli serve as a running process against a running vesk-board-sim: polls, saves,
// reconnection, crashes and the program folder's lock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>

#include "common/folder_lock.h"
#include "common/number_text.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "tests/cli/cli_run.h"
#include "tests/support/log_capture.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// The raw text of a field of a flat JSON object on one line ("12.5", "\"text\""), if any.
std::optional<std::string> JsonValue(const std::string& line, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const auto at = line.find(key);
  if (at == std::string::npos) {
    return std::nullopt;
  }
  const auto start = at + key.size();
  return line.substr(start, line.find_first_of(",}", start) - start);
}

// What one run of serve printed, one JSON object per poll.
struct Printed {
  std::vector<double> readings;  // the Date of each successful poll, in order
  int failures = 0;
  int failuresInARow = 0;

  // Takes one line; false when it is no poll line.
  bool take(const std::string& line) {
    const auto date = JsonValue(line, "Date");
    double value = 0;
    if (!date || !TextToFloat(*date, value) || !JsonValue(line, "Poll")) {
      return false;
    }
    if (JsonValue(line, "ErrorMes")) {
      ++failures;
      ++failuresInARow;
    } else {
      readings.push_back(value);
      failuresInARow = 0;
    }
    return true;
  }
};

// A program folder with VeskLevel.ini (attempts every 0.2 s), the board on its COM3 and
// serve runs, each logging into a folder of its own.
class Serve : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_ALL, "C");
    std::ofstream(folder / "VeskLevel.ini") << "[Misc]\r\nReconnectPeriod=0.2\r\n";
  }

  void startBoard(const std::string& model = "23") {
    board = std::make_unique<test::SimProcess>(
        VESK_BOARD_SIM, std::vector<std::string>{"--folder", folder.path().string(), "--port", "3",
                                                 "--model", model, "--firmware", "3.5"});
    // The line (its pseudo-terminal's path) comes once the port's link is in place.
    devicePath = board->firstLine();
    ASSERT_FALSE(devicePath.empty()) << "the simulated board did not start";
  }

  // Starts run number `run` of serve, polling every 0.2 s.
  void startServe(int run, std::vector<std::string> extra = {"--json"}) {
    const auto logs = folder / ("log" + std::to_string(run));
    std::filesystem::create_directory(logs);
    std::vector<std::string> args = {
        "--log-folder", logs.string(), "serve",      "--folder", folder.path().string(),
        "--port",       "3",           "--interval", "0.2"};
    args.insert(args.end(), extra.begin(), extra.end());
    serve = std::make_unique<test::SimProcess>(VESK_CLI_PATH, std::move(args));
  }

  // Reads poll lines until `until` holds; false when serve stopped printing first.
  template <typename Until>
  bool readUntil(Until until, std::chrono::milliseconds within = std::chrono::seconds(10)) {
    while (!until()) {
      const std::string line = serve->nextLine(within);
      if (line.empty()) {
        return false;
      }
      EXPECT_TRUE(printed.take(line)) << line;
    }
    return true;
  }

  // Ends the run with a signal; the lines printed up to the end are taken.
  int stopServe(int signal = SIGTERM) {
    const int status = serve->stop(signal);
    for (std::string line; !(line = serve->nextLine()).empty();) {
      printed.take(line);
    }
    return status;
  }

  // The texts of run number `run`'s log.
  std::vector<std::string> log(int run) const {
    return test::LogFolderTexts(folder / ("log" + std::to_string(run)));
  }

  std::vector<double> historyDates() const {
    TTinfosRec history;
    LoadHistory(folder / "DatasVesk.bin", kCurrentHistoryTag, history);
    std::vector<double> dates;
    for (const TinfosRec& rec : history) {
      dates.push_back(rec.Date);
    }
    return dates;
  }

  test::TempFolder folder;
  // The test's own reads of the history log their lines beside serve's runs.
  test::LogCapture testLog{folder.path()};
  std::unique_ptr<test::SimProcess> board;
  std::string devicePath;
  std::unique_ptr<test::SimProcess> serve;
  Printed printed;
};

// The position of the first text starting with `start`, from `from` on; -1 if none.
long IndexOf(const std::vector<std::string>& texts, const std::string& start, long from = 0) {
  for (auto i = static_cast<std::size_t>(std::max(from, 0L)); i < texts.size(); ++i) {
    if (texts[i].starts_with(start)) {
      return static_cast<long>(i);
    }
  }
  return -1;
}

// Each text starting with its expectation, in this order.
void ExpectInOrder(const std::vector<std::string>& texts, const std::vector<std::string>& lines) {
  long at = 0;
  for (const std::string& line : lines) {
    const long found = IndexOf(texts, line, at);
    ASSERT_GE(found, at) << line << " missing or out of order";
    at = found + 1;
  }
}

// The history holds one record per reading printed, with the printed dates (which the JSON
// writes with 15 digits).
void ExpectOneRecordPerReading(const std::vector<double>& history,
                               const std::vector<double>& printed) {
  ASSERT_EQ(history.size(), printed.size());
  for (std::size_t i = 0; i < history.size(); ++i) {
    EXPECT_NEAR(history[i], printed[i], 1e-9) << i;
  }
}

TEST_F(Serve, PrintsEachPollAndSavesEveryReadingWhenStopped) {
  startBoard();
  startServe(1);
  ASSERT_TRUE(readUntil([&] { return printed.readings.size() >= 3; }));
  EXPECT_EQ(stopServe(), 0);
  EXPECT_EQ(printed.failures, 0);
  ExpectOneRecordPerReading(historyDates(), printed.readings);
  const auto texts = log(1);
  ExpectInOrder(
      texts,
      {"Application opened", "Points loaded", "COM3 Opened -> ", "Startup ->  Ver. FIRM : 3.5",
       "Firmware > 2.0", "Camera Type : 23", "Setup Done",
       "GetcurrentSetup->  Temperature threshold : ", "GetData-> ", "Stopped by SIGTERM",
       "Data saved : DatasVesk.bin,  points number : " + std::to_string(printed.readings.size()),
       "COM closed -> ", "Application closed"});
  EXPECT_EQ(texts.back(), "Application closed");

  // The text lines: the log's time stamp, the poll's number and its readings.
  startServe(2, {});
  const std::string line = serve->nextLine();
  EXPECT_TRUE(std::regex_match(line, std::regex(R"(\d{4}/\d\d/\d\d  \d\d:\d\d:\d\d\.\d{3} : )"
                                                R"(Poll 1: outside [-+]?\d+\.\d °C \d+\.\d % )"
                                                R"(\(dew point -?\d+\.\d °C\), inside .*, )"
                                                R"(hot plate .*, heater (on|off))")))
      << line;
  EXPECT_EQ(serve->stop(SIGINT), 0);
  ExpectInOrder(log(2), {"Stopped by SIGINT", "Data saved : DatasVesk.bin,  points number : ",
                         "COM closed -> ", "Application closed"});
}

// --device in place of the port number: the board on its pseudo-terminal's path, with no
// ports/ link.
TEST_F(Serve, ABoardOnADevicePathIsPolled) {
  startBoard();
  std::filesystem::remove(folder / "ports" / "COM3");
  serve = std::make_unique<test::SimProcess>(
      VESK_CLI_PATH,
      std::vector<std::string>{"serve", "--folder", folder.path().string(), "--device", devicePath,
                               "--interval", "0.2", "--json"});
  ASSERT_TRUE(readUntil([&] { return printed.readings.size() >= 2; }));
  EXPECT_EQ(stopServe(), 0);
  EXPECT_EQ(printed.failures, 0);

  const test::CliResult both = test::RunCli(
      folder.path(),
      {"serve", "--folder", folder.path().string(), "--port", "3", "--device", devicePath});
  EXPECT_EQ(both.exitCode, 2);
}

TEST_F(Serve, ABoardStartedAgainOnTheSamePortIsFoundAgain) {
  for (const std::string model : {"23", "34"}) {
    SCOPED_TRACE(model);
    std::filesystem::remove(folder / "DatasVesk.bin");
    std::filesystem::remove(folder / "DatasVesk.bin.back");
    printed = {};
    startBoard();
    const int run = std::stoi(model);
    startServe(run);
    ASSERT_TRUE(readUntil([&] { return printed.readings.size() >= 2; }));

    ASSERT_EQ(board->terminate(), 0);  // the board's process ends
    ASSERT_TRUE(readUntil([&] { return printed.failuresInARow == 3; }));
    startBoard(model);
    // The restored link's first poll, within one period of 30 s and its attempt.
    const std::size_t before = printed.readings.size();
    ASSERT_TRUE(
        readUntil([&] { return printed.readings.size() > before; }, std::chrono::seconds(35)));
    ASSERT_TRUE(readUntil([&] { return printed.readings.size() > before + 1; }));
    EXPECT_EQ(stopServe(), 0);

    EXPECT_EQ(printed.failures, 3) << "no polls while the link is lost";
    ExpectOneRecordPerReading(historyDates(), printed.readings);
    const auto texts = log(run);
    const long lost = IndexOf(texts, "Link lost -> reconnecting to COM3");
    ASSERT_GE(lost, 0);
    EXPECT_THAT(texts[static_cast<std::size_t>(lost + 1)], StartsWith("COM closed -> "));
    ExpectInOrder(std::vector<std::string>(texts.begin() + lost, texts.end()),
                  {"Link restored -> COM3", "Startup ->  Ver. FIRM : 3.5", "Firmware > 2.0",
                   "Camera Type : " + model, "Setup Done", "GetcurrentSetup->  ", "GetData-> "});
    board.reset();
  }
}

// Every reading printed is on the disk before the next poll: a crash loses at most the poll
// in flight (appended, perhaps, but not printed).
void ExpectEveryPrintedReading(const std::vector<double>& history,
                               const std::vector<double>& printed) {
  ASSERT_GE(history.size(), printed.size());
  ASSERT_LE(history.size(), printed.size() + 1);
  ExpectOneRecordPerReading(
      std::vector<double>(history.begin(), history.begin() + static_cast<long>(printed.size())),
      printed);
}

TEST_F(Serve, AfterACrashTheNextRunLoadsEveryReadingAndGoesOn) {
  startBoard();
  startServe(1);
  ASSERT_TRUE(readUntil([&] { return printed.readings.size() >= 2; }));
  ASSERT_EQ(stopServe(), 0);
  std::vector<double> expected = printed.readings;

  printed = {};
  startServe(2);
  ASSERT_TRUE(readUntil([&] { return printed.readings.size() >= 10; }));
  EXPECT_EQ(stopServe(SIGKILL), -1);
  // No save ran since the start, yet every reading printed is in the file.
  expected.insert(expected.end(), printed.readings.begin(), printed.readings.end());
  const std::vector<double> afterKill = historyDates();
  ExpectEveryPrintedReading(afterKill, expected);

  // Neither the lock nor the history stands in the way of the next run.
  printed = {};
  startServe(3);
  ASSERT_TRUE(readUntil([&] { return printed.readings.size() >= 2; }));
  ASSERT_EQ(stopServe(), 0);
  expected = afterKill;
  expected.insert(expected.end(), printed.readings.begin(), printed.readings.end());
  ExpectOneRecordPerReading(historyDates(), expected);
  EXPECT_GE(IndexOf(log(3), "Data loaded : DatasVesk.bin,  points number : " +
                                std::to_string(afterKill.size())),
            0);
}

// The number of the last "Data saved" line of a log; -1 when there is none.
long LastSavedCount(const std::vector<std::string>& texts) {
  static const std::string saved = "Data saved : DatasVesk.bin,  points number : ";
  long count = -1;
  for (const std::string& text : texts) {
    if (text.starts_with(saved)) {
      count = std::stol(text.substr(saved.size()));
    }
  }
  return count;
}

// With "SavePeriod" a fraction of a second, the periodic saves come while serve runs, and a
// kill between them loses no reading.
TEST_F(Serve, PeriodicSavesAtTheSettingsPeriodOutliveAKill) {
  std::ofstream(folder / "VeskLevel.ini") << "[Misc]\r\nReconnectPeriod=0.2\r\nSavePeriod=0.5\r\n";
  startBoard();
  startServe(1);
  const auto periodicSaves = [&] {
    const auto texts = log(1);
    return std::count_if(texts.begin(), texts.end(), [](const std::string& text) {
      return text.starts_with("Data period recording OK -- each mins");
    });
  };
  ASSERT_TRUE(readUntil([&] { return periodicSaves() >= 3; }));
  EXPECT_EQ(stopServe(SIGKILL), -1);
  const long saved = LastSavedCount(log(1));
  ASSERT_GT(saved, 0);
  const std::vector<double> history = historyDates();
  EXPECT_GE(history.size(), static_cast<std::size_t>(saved));
  ExpectEveryPrintedReading(history, printed.readings);
}

// A program folder whose file system fills up while serve runs (a small tmpfs): neither the
// log nor the history can be written any more, yet a healthy board is polled every period,
// its link never called lost, and serve ends when asked (1: its last save failed).
TEST_F(Serve, AFullDiskNeverStopsThePolls) {
  const std::filesystem::path disk = folder / "disk";
  std::filesystem::create_directory(disk);
  if (::mount("vesk-test", disk.c_str(), "tmpfs", 0, "size=256k") != 0) {
    GTEST_SKIP() << "a tmpfs cannot be mounted here (needs root)";
  }
  struct Unmount {
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    std::filesystem::path path;
  } unmount{disk};
  std::ofstream(disk / "VeskLevel.ini") << "[Misc]\r\nReconnectPeriod=0.2\r\n";
  board = std::make_unique<test::SimProcess>(
      VESK_BOARD_SIM, std::vector<std::string>{"--folder", disk.string(), "--port", "3"});
  ASSERT_FALSE(board->firstLine().empty()) << "the simulated board did not start";
  // Its log goes to the full disk too.
  serve = std::make_unique<test::SimProcess>(
      VESK_CLI_PATH, std::vector<std::string>{"serve", "--folder", disk.string(), "--port", "3",
                                              "--interval", "0.2", "--json"});
  ASSERT_TRUE(readUntil([&] { return printed.readings.size() >= 2; }));

  {
    std::ofstream filler(disk / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) &&
           filler.flush()) {
    }
  }
  // The log goes on in the room its last block has left; once it stops growing for a few
  // polls, its lines are being dropped.
  const auto logSize = [&] {
    std::uintmax_t size = 0;
    for (const auto& entry : std::filesystem::directory_iterator(disk)) {
      if (entry.path().filename().string().starts_with("Log_")) {
        size += entry.file_size();
      }
    }
    return size;
  };
  int unchanged = 0;
  std::uintmax_t size = logSize();
  ASSERT_TRUE(readUntil(
      [&] {
        const std::uintmax_t now = logSize();
        unchanged = now == size ? unchanged + 1 : 0;
        size = now;
        return unchanged >= 3;
      },
      std::chrono::seconds(10)));
  const std::size_t before = printed.readings.size();
  ASSERT_TRUE(readUntil([&] { return printed.readings.size() >= before + 10; }));
  EXPECT_EQ(printed.failures, 0) << "no poll fails for a full disk";
  // Asked to stop, it ends (1 when its last save found no room).
  const int status = stopServe();
  EXPECT_TRUE(status == 0 || status == 1) << status;
}

TEST_F(Serve, ASecondOwnerOfTheProgramFolderIsRefusedAtOnce) {
  const auto refusal = [&](long pid) {
    return "vesk-cli serve: Program folder " + folder.path().string() + " is in use by process " +
           std::to_string(pid) + ": a monitor and vesk-cli serve never share one program folder\n";
  };
  startBoard();
  const std::vector<std::string> second = {"serve", "--folder", folder.path().string(), "--port",
                                           "3"};
  {
    const FolderLock monitor(folder.path());  // as the monitor takes it at start
    ASSERT_TRUE(monitor.held());
    const test::CliResult refused = test::RunCli(folder.path(), second);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, refusal(getpid()));
    EXPECT_EQ(refused.out, "");
  }
  startServe(1);
  ASSERT_TRUE(readUntil([&] { return printed.readings.size() >= 1; }));
  const test::CliResult refused = test::RunCli(folder.path(), second);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err, refusal(serve->pid()));
  EXPECT_EQ(stopServe(), 0);
  ExpectOneRecordPerReading(historyDates(), printed.readings);
}

TEST_F(Serve, NoBoardAtStartIsAFailedConnection) {
  startServe(1);
  EXPECT_EQ(serve->exitStatus(), 1);
  EXPECT_EQ(log(1).back(), "Application closed");
  EXPECT_GE(IndexOf(log(1), "Issue with data link (FATAL ERROR) : Error -> Cannot open COM port3"),
            0);
  EXPECT_FALSE(std::filesystem::exists(folder / "DatasVesk.bin"));
}

TEST_F(Serve, UsageAndBadOptions) {
  const test::CliResult help = test::RunCli(folder.path(), {"serve", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_THAT(help.out,
              StartsWith("Usage: vesk-cli serve [--port N | --device PATH] [--interval S]"));
  const test::CliResult top = test::RunCli(folder.path(), {"--help"});
  EXPECT_THAT(top.out, HasSubstr("  serve "));
  for (const std::vector<std::string>& option :
       {std::vector<std::string>{"--interval", "0"}, std::vector<std::string>{"--port", "256"},
        std::vector<std::string>{"--count", "3"}}) {
    std::vector<std::string> args = {"serve", "--folder", folder.path().string()};
    args.insert(args.end(), option.begin(), option.end());
    const test::CliResult bad = test::RunCli(folder.path(), args);
    EXPECT_EQ(bad.exitCode, 2) << option[0];
    EXPECT_FALSE(std::filesystem::exists(folder / FolderLock::kFileName))
        << "bad usage is refused before the folder is taken";
  }
}

}  // namespace
}  // namespace vesk
