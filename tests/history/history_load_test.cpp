#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "common/exceptions.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "history/synthetic_history.h"
#include "tests/history/history_bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/matches_pattern.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using test::Bytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class HistoryLoad : public ::testing::Test {
 protected:
  // Loads bytes written as a file and returns the message of the failure, "" when none.
  std::string load(const Bytes& bytes, TTinfosRec& history,
                   std::span<const std::uint32_t> tags = kAllHistoryTags) {
    bytes.writeTo(file);
    try {
      LoadHistory(file, tags, history, [this](const std::string& text) { shown.push_back(text); });
    } catch (const Exception& e) {
      return e.message();
    }
    return "";
  }

  test::TempFolder folder;
  test::LogCapture log{folder.path()};
  std::filesystem::path file = folder / "DatasVesk.bin";
  std::vector<std::string> shown;
};

TEST_F(HistoryLoad, MissingFileLeavesTheHistoryAndLogsNothing) {
  TTinfosRec history = test::SampleRecords(2);
  LoadHistory(folder / "absent.bin", kCurrentHistoryTag, history);
  EXPECT_EQ(history.size(), 2u);
  EXPECT_THAT(log.texts(), IsEmpty());
}

TEST_F(HistoryLoad, FileTooShortForATagRaisesTheFileLayerErrorUnwrapped) {
  for (std::size_t size = 0; size < 4; ++size) {
    TTinfosRec history;
    Bytes bytes;
    bytes.fill(size, 0x2F);
    EXPECT_EQ(load(bytes, history), "Read beyond end of file") << size << " bytes";
  }
}

TEST_F(HistoryLoad, UnknownTagIsNotTheCorrectFormat) {
  TTinfosRec history;
  Bytes bytes;
  bytes.u32(0x1AE1A130).u32(0);
  EXPECT_EQ(load(bytes, history), file.string() + " does not have the correct format !");
  EXPECT_THAT(log.texts(), IsEmpty());
  EXPECT_THAT(shown, IsEmpty());
}

// A damaged header is found out from the file's size, before anything is allocated: the
// history passed in keeps its content.
TEST_F(HistoryLoad, CountTheFileCannotHoldFailsBeforeAllocating) {
  struct Case {
    const char* name;
    Bytes bytes;
  };
  const std::vector<Case> cases = {
      {"no count", Bytes().u32(kTinfosRecTag)},
      {"one record promised, none there", Bytes().u32(kTinfosRecTag).u32(1)},
      {"three promised, two there", Bytes()
                                        .u32(kTinfosRecTag)
                                        .u32(3)
                                        .record(test::SampleRecord(1))
                                        .record(test::SampleRecord(2))},
      {"four billion promised", Bytes().u32(kTinfosRecTag).u32(0xFFFFFFFF).fill(800)},
      {"older layout short by a byte", Bytes().u32(kTinfosRecRozEzaTag).u32(1).fill(87)},
      {"corvo promised twice its size", Bytes().u32(kTinfosRecCorvoTag).u32(2).fill(64)},
  };
  for (const auto& c : cases) {
    TTinfosRec history = test::SampleRecords(1);
    EXPECT_THAT(load(c.bytes, history), StartsWith("Error while reading file : ")) << c.name;
    EXPECT_EQ(history.size(), 1u) << c.name;
  }
  EXPECT_THAT(log.texts(), IsEmpty());
}

TEST_F(HistoryLoad, EmptyFileLoadsEmptyAndIsNotSorted) {
  TTinfosRec history = test::SampleRecords(3);
  ASSERT_EQ(load(test::CurrentFile({}), history, kCurrentHistoryTag), "");
  EXPECT_THAT(history, IsEmpty());
  EXPECT_THAT(log.texts(), ElementsAre("Data loaded : DatasVesk.bin,  points number : 0"));
  EXPECT_THAT(shown, ElementsAre("Sort points..."));
}

TEST_F(HistoryLoad, ZeroDatedRecordsAreRemovedAndTheRestReplacesTheHistory) {
  auto records = test::SampleRecords(5);
  records[0].Date = 0.0;
  records[2].Date = 0.0;
  TTinfosRec history = test::SampleRecords(9);
  ASSERT_EQ(load(test::CurrentFile(records), history), "");

  EXPECT_TRUE(test::SameRecords(history, {records[1], records[3], records[4]}));
  EXPECT_THAT(shown, ElementsAre("Sort points...", "Deleting index : 0 index deleted number : 1",
                                 "Deleting index : 1 index deleted number : 2"));
  EXPECT_THAT(log.texts(), ElementsAre("Data loaded : DatasVesk.bin,  points number : 5",
                                       "Data sorted, number of points : 3"));
}

// The load looks for empty records while it reads, block by block: the same rules through
// a file, with empty records on both sides of a block's edge (26214 records of 80 bytes).
TEST_F(HistoryLoad, EmptyRecordsAreFoundInEveryBlockAndTheLastStays) {
  constexpr std::size_t kCount = 70'000;
  TTinfosRec records = GenerateHistory(45000.0, kCount, 10.0);
  for (const std::size_t i : {26213u, 26214u, 52428u, 69999u}) {
    records[i].Date = 0.0;
  }
  TTinfosRec history;
  ASSERT_EQ(load(test::CurrentFile(records), history, kCurrentHistoryTag), "");
  ASSERT_EQ(history.size(), kCount - 3);
  EXPECT_TRUE(test::SameRecord(history[26212], records[26212]));
  EXPECT_TRUE(test::SameRecord(history[26213], records[26215]));
  EXPECT_TRUE(test::SameRecord(history[52425], records[52427]));
  EXPECT_TRUE(test::SameRecord(history[52426], records[52429]));
  EXPECT_EQ(history.back().Date, 0.0);
  // A read of three blocks: the window is shown from its start.
  ASSERT_GE(shown.size(), 4u);
  EXPECT_EQ(shown[0], "Loading points... 0 %");
  const auto sorting = std::find(shown.begin(), shown.end(), "Sort points...");
  ASSERT_NE(sorting, shown.end());
  for (auto text = shown.begin() + 1; text != sorting; ++text) {
    EXPECT_THAT(*text, test::MatchesPattern("Loading points\\.\\.\\. (37|74) %"));
  }
  EXPECT_EQ(*(sorting + 1), "Deleting index : 26213 index deleted number : 1");
  EXPECT_EQ(shown.back(), "Deleting index : 52426 index deleted number : 3");
}

TEST_F(HistoryLoad, CleanUpThroughAFileFollowsTheSameRules) {
  const std::vector<std::vector<double>> cases = {
      {0}, {1}, {0, 0}, {1, 0}, {0, 1}, {0, 0, 0}, {1, 0, 2, 0, 0, 3}, {0, 1, 0, 2, 0}, {3, 2, 1}};
  for (const auto& dates : cases) {
    TTinfosRec records;
    for (const double date : dates) {
      TinfosRec rec = test::SampleRecord(static_cast<int>(date));
      rec.Date = date;
      records.push_back(rec);
    }
    TTinfosRec expected = records;
    CleanUpHistory(expected);
    TTinfosRec history;
    ASSERT_EQ(load(test::CurrentFile(records), history, kCurrentHistoryTag), "");
    EXPECT_TRUE(test::SameRecords(history, expected)) << ::testing::PrintToString(dates);
  }
}

// Without room to grow, the first poll after the start would move the whole history into an
// array twice its size: twice the memory, and a copy of it all on the window's thread.
TEST_F(HistoryLoad, FirstRecordsAppendedAfterALoadDoNotMoveTheHistory) {
  TTinfosRec history;
  ASSERT_EQ(load(test::CurrentFile(test::SampleRecords(1000)), history, kCurrentHistoryTag), "");
  const TinfosRec* data = history.data();
  for (int i = 0; i < 100; ++i) {
    history.push_back(test::SampleRecord(2000 + i));
  }
  EXPECT_EQ(history.data(), data);
  EXPECT_LE(history.capacity(), 1100u);
}

TEST_F(HistoryLoad, BytesPastTheCountedRecordsAreIgnored) {
  Bytes bytes = test::CurrentFile(test::SampleRecords(3));
  bytes.record(test::SampleRecord(4)).fill(11, 0xCC);
  TTinfosRec history;
  ASSERT_EQ(load(bytes, history, kCurrentHistoryTag), "");
  EXPECT_TRUE(test::SameRecords(history, test::SampleRecords(3)));
}

TEST(HistoryCleanUp, RemovesZeroDatesButNeverExaminesTheLastOfTwoOrMore) {
  struct Case {
    std::vector<double> dates;
    std::vector<double> kept;
  };
  const std::vector<Case> cases = {
      {{}, {}},
      {{0}, {}},
      {{1}, {1}},
      {{0, 0}, {0}},
      {{1, 0}, {1, 0}},
      {{0, 1}, {1}},
      {{0, 0, 0}, {0}},
      {{1, 0, 2, 0, 0, 3}, {1, 2, 3}},
      {{0, 1, 0, 2, 0}, {1, 2, 0}},
      {{3, 2, 1}, {3, 2, 1}},
  };
  for (const auto& c : cases) {
    TTinfosRec history;
    for (const double date : c.dates) {
      TinfosRec rec = test::SampleRecord(static_cast<int>(date));
      rec.Date = date;
      history.push_back(rec);
    }
    CleanUpHistory(history);
    std::vector<double> kept;
    for (const auto& rec : history) {
      kept.push_back(rec.Date);
      EXPECT_EQ(rec.TempExt, test::SampleRecord(static_cast<int>(rec.Date)).TempExt);
    }
    EXPECT_EQ(kept, c.kept) << ::testing::PrintToString(c.dates);
  }
}

// A history full of empty records must not repaint the progress window once per record.
TEST(HistoryCleanUp, ReportsProgressAFewTimesPerSecondAndEndsOnTheTrueCount) {
  constexpr std::size_t kCount = 2'000'000;
  TTinfosRec history(kCount);
  for (std::size_t i = 1; i < kCount; i += 2) {
    history[i].Date = 45000.0 + static_cast<double>(i);
  }
  std::vector<std::string> shown;
  const auto start = std::chrono::steady_clock::now();
  CleanUpHistory(history, [&](const std::string& text) { shown.push_back(text); });
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  ASSERT_EQ(history.size(), kCount / 2);
  EXPECT_EQ(history.front().Date, 45001.0);
  EXPECT_EQ(history.back().Date, 45000.0 + static_cast<double>(kCount - 1));
  EXPECT_LE(static_cast<double>(shown.size()), 2.0 + 5.0 * seconds);
  EXPECT_EQ(shown.front(), "Deleting index : 0 index deleted number : 1");
  EXPECT_EQ(shown.back(), "Deleting index : 999999 index deleted number : 1000000");
}

}  // namespace
}  // namespace vesk
