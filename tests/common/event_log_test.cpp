#include "common/event_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "common/exceptions.h"
#include "tests/support/log_capture.h"
#include "tests/support/matches_pattern.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using test::LogCapture;
using test::ReadFile;
using test::TempFolder;
using ::testing::ElementsAre;

TEST(EventLog, LineFormat) {
  const struct {
    DateTimeParts when;
    const char* text;
    const char* line;
  } cases[] = {
      {{2026, 1, 18, 9, 5, 3, 42},
       "Application opened",
       "2026/01/18  09:05:03.042 : Application opened"},
      {{2026, 1, 18, 9, 5, 3, 7}, "x", "2026/01/18  09:05:03.007 : x"},
      {{2026, 1, 18, 9, 5, 3, 100}, "x", "2026/01/18  09:05:03.100 : x"},
      {{2026, 12, 31, 23, 59, 59, 999}, "", "2026/12/31  23:59:59.999 : "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LogLine(EncodeDateTime(c.when), c.text), c.line);
  }
}

TEST(EventLog, EveryLineGoesToOneFileWithCrLf) {
  TempFolder folder;
  LogCapture capture(folder.path());
  const auto file = LogFilePath();
  EXPECT_EQ(file.parent_path(), folder.path());
  EXPECT_THAT(file.filename().string(), test::MatchesPattern("Log_[0-9]+\\.txt"));

  WriteLog("Application opened");
  WriteLog("");
  const std::string content = ReadFile(file);
  const auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(content, lines[0] + "\r\n" + lines[1] + "\r\n");
  EXPECT_THAT(capture.texts(), ElementsAre("Application opened", ""));
}

TEST(EventLog, AnExistingFileIsAppendedTo) {
  TempFolder folder;
  LogCapture capture(folder.path());
  const auto file = LogFilePath();
  { std::ofstream(file, std::ios::binary) << "earlier\r\n"; }
  WriteLog("later");
  EXPECT_EQ(ReadFile(file), "earlier\r\n" + capture.lines().at(0) + "\r\n");
}

TEST(EventLog, TwoRunsWriteTwoFiles) {
  TempFolder folder;
  InitLog(folder.path());
  const auto first = LogFilePath();
  InitLog(folder.path());
  EXPECT_NE(first, LogFilePath());
}

// A full disk or a folder gone must not take the station down: the line is dropped from the
// file (still shown), the trouble reported once, and again when the file takes lines again.
TEST(EventLog, AnUnwritableFileDropsLinesAndReportsOnceEachWay) {
  TempFolder folder;
  LogCapture capture(folder / "missing");
  std::vector<std::string> reports;
  std::vector<bool> failing;
  SetLogTroubleListener([&](const std::string& text, bool fails) {
    reports.push_back(text);
    failing.push_back(fails);
  });
  EXPECT_NO_THROW(WriteLog("lost"));
  EXPECT_NO_THROW(WriteLog("lost too"));
  EXPECT_EQ(DroppedLogLines(), 2u);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_THAT(reports[0], ::testing::StartsWith("The log file cannot be written, its lines are "
                                                "dropped: I/O error: cannot open "));
  EXPECT_THAT(capture.texts(), ElementsAre("lost", "lost too"));

  std::filesystem::create_directory(folder / "missing");
  WriteLog("kept");
  WriteLog("kept too");
  SetLogTroubleListener(nullptr);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1], "The log file is written again; 2 line(s) could not be written to it");
  EXPECT_THAT(failing, ElementsAre(true, false));
  EXPECT_EQ(test::LogFileTexts(), (std::vector<std::string>{"kept", "kept too"}));
}

TEST(EventLog, AFailingHandOverLeavesTheLineInTheFile) {
  TempFolder folder;
  InitLog(folder.path());
  SetLogHandOver([](const std::string&) { throw std::runtime_error("view gone"); });
  EXPECT_NO_THROW(WriteLog("only in the file"));
  SetLogHandOver(nullptr);
  EXPECT_NE(ReadFile(LogFilePath()).find("only in the file\r\n"), std::string::npos);
}

TEST(EventLog, LinesFromManyThreadsReachFileAndHandOverInTheSameOrder) {
  TempFolder folder;
  LogCapture capture(folder.path());
  {
    std::vector<std::jthread> writers;
    for (int t = 0; t < 4; ++t) {
      writers.emplace_back([t] {
        for (int i = 0; i < 200; ++i) {
          WriteLog("thread " + std::to_string(t) + " line " + std::to_string(i));
        }
      });
    }
  }
  std::string expected;
  for (const auto& line : capture.lines()) {
    expected += line + "\r\n";
  }
  EXPECT_EQ(capture.lines().size(), 800u);
  EXPECT_EQ(ReadFile(LogFilePath()), expected);
}

}  // namespace
}  // namespace vesk
