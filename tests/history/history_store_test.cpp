#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "common/exceptions.h"

#include "history/history_format.h"
#include "history/history_load.h"
#include "history/history_store.h"
#include "history/synthetic_history.h"
#include "tests/history/history_bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/matches_pattern.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_child.h"

namespace vesk {
namespace {

using test::Bytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class HistorySave : public ::testing::Test {
 protected:
  std::string fileBytes(const std::string& name) const { return test::ReadFile(folder / name); }

  std::vector<std::string> folderNames() const { return test::HistoryFolderNames(folder.path()); }

  TTinfosRec loaded(const std::string& name) const {
    TTinfosRec history;
    LoadHistory(folder / name, kCurrentHistoryTag, history);
    return history;
  }

  test::TempFolder folder;
  test::LogCapture log{folder.path()};
  HistoryStore store{folder.path()};
};

TEST_F(HistorySave, BackupHoldsTheFileOfThePreviousSave) {
  const auto first = test::SampleRecords(2);
  const auto second = test::SampleRecords(3);
  const auto third = test::SampleRecords(4);
  store.SaveHistory(first, "DatasVesk.bin");
  EXPECT_THAT(folderNames(), ElementsAre("DatasVesk.bin"));

  store.SaveHistory(second, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(first).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(second).str());

  // The backup is not a second name for the file being replaced next time.
  store.SaveHistory(third, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(second).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(third).str());
  EXPECT_THAT(folderNames(), ElementsAre("DatasVesk.bin", "DatasVesk.bin.back"));
  EXPECT_THAT(log.texts(), ElementsAre("Data saved : DatasVesk.bin,  points number : 2",
                                       "Data saved : DatasVesk.bin,  points number : 3",
                                       "Data saved : DatasVesk.bin,  points number : 4"));
}

TEST_F(HistorySave, EmptyHistoryLeavesFileAndBackupUntouched) {
  store.SaveHistory(test::SampleRecords(1), "DatasVesk.bin");
  store.SaveHistory(test::SampleRecords(2), "DatasVesk.bin");
  const std::string file = fileBytes("DatasVesk.bin");
  const std::string backup = fileBytes("DatasVesk.bin.back");
  store.SaveHistory({}, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin"), file);
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), backup);
  EXPECT_EQ(log.texts().size(), 2u);
}

TEST_F(HistorySave, FailedSaveRaisesLeavesTheLockAndKeepsThePreviousFiles) {
  store.SaveHistory(test::SampleRecords(1), "DatasVesk.bin");
  store.SaveHistory(test::SampleRecords(2), "DatasVesk.bin");
  const std::string file = fileBytes("DatasVesk.bin");
  const std::string backup = fileBytes("DatasVesk.bin.back");
  // The new file cannot be created where it is written first.
  std::filesystem::create_directory(folder / "DatasVesk.bin.tmp");

  // Not the saved records plus newer ones, so the whole file is written again (a failure of
  // a save that appends is in history_save_incremental_test.cpp).
  TTinfosRec history = test::SampleRecords(6);
  history.erase(history.begin());
  EXPECT_THROW(store.SaveHistory(history, "DatasVesk.bin"), EInOutError);
  EXPECT_EQ(history.size(), 5u);
  EXPECT_EQ(fileBytes("DatasVesk.bin"), file);
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), backup);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "DatasVesk.bin.tmp"));
  ASSERT_TRUE(store.FileSave_Section().try_lock());
  store.FileSave_Section().unlock();
}

// Another program reading the history (a copy, a spreadsheet) holds it open as the C library
// opens a file to read: sharing reading and writing, not its removal. A save that writes the
// file again either goes through or, where the system refuses to replace an open file
// (Windows), fails with the previous history whole; the next save once the reader is gone
// goes through.
TEST_F(HistorySave, ReaderHoldingTheFileOpenNeverCostsTheHistory) {
  const TTinfosRec before = test::SampleRecords(3);
  store.SaveHistory(before, "DatasVesk.bin");
  // Not an extension of the file: written again whole.
  TTinfosRec history = test::SampleRecords(5);
  history.erase(history.begin());
#ifdef _WIN32
  std::FILE* reader = _wfopen((folder / "DatasVesk.bin").c_str(), L"rb");
#else
  std::FILE* reader = std::fopen((folder / "DatasVesk.bin").c_str(), "rb");
#endif
  ASSERT_NE(reader, nullptr);
  bool saved = true;
  try {
    store.SaveHistory(history, "DatasVesk.bin");
  } catch (const EInOutError& e) {
    saved = false;
    SCOPED_TRACE(e.message());
    EXPECT_TRUE(test::SameRecords(loaded("DatasVesk.bin"), before));
  }
  std::fclose(reader);
  if (saved) {
    EXPECT_TRUE(test::SameRecords(loaded("DatasVesk.bin"), history));
    EXPECT_TRUE(test::SameRecords(loaded("DatasVesk.bin.back"), before));
  }
  store.SaveHistory(history, "DatasVesk.bin");
  EXPECT_TRUE(test::SameRecords(loaded("DatasVesk.bin"), history));
  EXPECT_TRUE(test::SameRecords(loaded("DatasVesk.bin.back"), saved ? history : before));
  EXPECT_THAT(folderNames(), ElementsAre("DatasVesk.bin", "DatasVesk.bin.back"));
}

TEST(HistorySaveFolder, MissingFolderFailsWithTheFileLayerMessage) {
  test::TempFolder folder;
  test::LogCapture log(folder.path());
  HistoryStore store(folder / "gone");
  try {
    store.SaveHistory(test::SampleRecords(1), "DatasVesk.bin");
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const EInOutError& e) {
    EXPECT_THAT(e.message(), StartsWith("Cannot create file \""));
#ifdef _WIN32
    EXPECT_THAT(e.message(), test::MatchesPattern(".*\"\\. .+")) << "the system's reason";
#else
    EXPECT_THAT(e.message(), HasSubstr("No such file or directory"));
#endif
  }
  EXPECT_THAT(log.texts(), IsEmpty());
  ASSERT_TRUE(store.FileSave_Section().try_lock());
  store.FileSave_Section().unlock();
}

std::uintmax_t SizeOf(const std::filesystem::path& file) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  return error ? 0 : size;
}

// A child (this test run again) saves two histories in turn over and over, each a whole
// rewrite since neither extends the other, and is killed mid-save (8 MB each: a save lasts
// long enough for the kill to land inside it, as the polled conditions ensure); whatever moment the
// kill hits, the history file and its backup each hold one complete save. (Every step of every kind
// of save, one kill each: history_save_kill_test.cpp.)
TEST_F(HistorySave, ProcessKilledMidSaveLeavesCompleteFiles) {
  const TTinfosRec before = test::SampleRecords(10);
  const TTinfosRec after = GenerateHistory(45000.0, 100'000, 10.0);
  const TTinfosRec other = GenerateHistory(46000.0, 100'000, 10.0, 2);
  if (const std::optional<std::string> role = test::ChildRole()) {
    HistoryStore saver(*role);
    for (;;) {
      saver.SaveHistory(after, "DatasVesk.bin");
      saver.SaveHistory(other, "DatasVesk.bin");
    }
  }
  const std::uintmax_t afterSize = kHistoryHeaderSize + after.size() * sizeof(TinfosRec);
  store.SaveHistory(before, "DatasVesk.bin");
  const auto file = folder / "DatasVesk.bin";
  const auto temporary = folder / "DatasVesk.bin.tmp";

  // First while the first new file is being written, then during a later save, once the
  // new file is in place and the next one is under way.
  const std::vector<std::function<bool()>> killWhen = {
      [&] { return SizeOf(temporary) > 8; },
      [&] { return SizeOf(file) == afterSize && SizeOf(temporary) > 0; },
  };
  for (std::size_t round = 0; round < killWhen.size(); ++round) {
    test::TestChild child(folder.path().string());
    const bool reached = test::WaitFor(killWhen[round]);
    child.kill();
    const std::optional<int> exitCode = child.exitCode();
    ASSERT_TRUE(reached) << "round " << round << "\n" << child.output();
    ASSERT_FALSE(exitCode) << "round " << round << " ended by itself\n" << child.output();

    for (const char* name : {"DatasVesk.bin", "DatasVesk.bin.back"}) {
      if (round == 0 && std::string(name) == "DatasVesk.bin.back" &&
          !std::filesystem::exists(folder / name)) {
        continue;  // killed before the first backup was made
      }
      const TTinfosRec history = loaded(name);
      EXPECT_TRUE(test::SameRecords(history, before) || test::SameRecords(history, after) ||
                  test::SameRecords(history, other))
          << name << " round " << round << " holds " << history.size() << " records";
    }
  }
  // The next save goes through over whatever the killed one left behind.
  store.SaveHistory(before, "DatasVesk.bin");
  EXPECT_TRUE(test::SameRecords(loaded("DatasVesk.bin"), before));
  EXPECT_FALSE(std::filesystem::exists(temporary));
}

class HistoryStart : public HistorySave {
 protected:
  std::string damagedName(const std::string& of = "DatasVesk.bin") const {
    for (const auto& name : folderNames()) {
      if (name.starts_with(of + ".damaged-")) {
        return name;
      }
    }
    return "";
  }
};

TEST_F(HistoryStart, MissingFileStartsEmptyAndOnlySaysPointsLoaded) {
  TTinfosRec Datas;
  store.LoadHistoryAtStart(Datas);
  EXPECT_THAT(Datas, IsEmpty());
  EXPECT_THAT(log.texts(), ElementsAre("Points loaded"));
}

TEST_F(HistoryStart, GoodFileLoads) {
  const auto records = test::SampleRecords(3);
  test::CurrentFile(records).writeTo(folder / "DatasVesk.bin");
  TTinfosRec Datas;
  std::vector<std::string> shown;
  store.LoadHistoryAtStart(Datas, [&](const std::string& text) { shown.push_back(text); });
  EXPECT_TRUE(test::SameRecords(Datas, records));
  EXPECT_THAT(shown, ElementsAre("Sort points..."));
  EXPECT_THAT(log.texts(), ElementsAre("Data loaded : DatasVesk.bin,  points number : 3",
                                       "Data sorted, number of points : 3", "Points loaded"));
}

// Before, the next save copied the damaged file over the good backup and then replaced
// it: both were lost.
TEST_F(HistoryStart, DamagedFileIsSetAsideAndTheBackupLoadedAndKept) {
  const auto good = test::SampleRecords(4);
  const Bytes damaged = Bytes().u32(kTinfosRecTag).u32(1000).record(test::SampleRecord(1));
  damaged.writeTo(folder / "DatasVesk.bin");
  test::CurrentFile(good).writeTo(folder / "DatasVesk.bin.back");

  TTinfosRec Datas = test::SampleRecords(1);
  store.LoadHistoryAtStart(Datas);
  EXPECT_TRUE(test::SameRecords(Datas, good));
  const std::string aside = damagedName();
  EXPECT_THAT(aside, test::MatchesPattern("DatasVesk\\.bin\\.damaged-[0-9]{8}-[0-9]{6}"));
  EXPECT_EQ(fileBytes(aside), damaged.str());
  const auto lines = log.texts();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_THAT(lines[0], StartsWith("Point loading -> Error while reading file : "));
  EXPECT_EQ(lines[1], "Damaged history file kept as " + aside);
  EXPECT_EQ(lines[2], "Data loaded : DatasVesk.bin,  points number : 4");
  EXPECT_EQ(lines[3], "Data sorted, number of points : 4");
  EXPECT_EQ(lines[4], "History restored from DatasVesk.bin.back,  points number : 4");
  EXPECT_EQ(lines[5], "Points loaded");

  Datas.push_back(test::SampleRecord(9));
  store.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(good).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(Datas).str());
  EXPECT_EQ(fileBytes(aside), damaged.str());
}

// A restart before the first save (a power cut soon after the start) found no history file
// and started empty; its second save then copied that new start over the backup, the only
// copy of the restored history.
TEST_F(HistoryStart, RestartBeforeAnySaveFindsTheRestoredHistory) {
  const auto good = test::SampleRecords(4);
  Bytes().u32(kTinfosRecTag).u32(1000).writeTo(folder / "DatasVesk.bin");
  test::CurrentFile(good).writeTo(folder / "DatasVesk.bin.back");
  TTinfosRec first;
  store.LoadHistoryAtStart(first);
  ASSERT_TRUE(test::SameRecords(first, good));

  HistoryStore restarted(folder.path());
  TTinfosRec Datas;
  restarted.LoadHistoryAtStart(Datas);
  EXPECT_TRUE(test::SameRecords(Datas, good));
  Datas.push_back(test::SampleRecord(9));
  restarted.SaveHistory(Datas, "DatasVesk.bin");
  restarted.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_TRUE(test::SameRecords(loaded("DatasVesk.bin.back"), Datas));
}

TEST_F(HistoryStart, UnreadableFileAndBackupStartEmptyWithBothKept) {
  // An older layout is no damage, but the start-up load refuses it all the same.
  const Bytes older = Bytes().u32(kTinfosRecCorvoTag).u32(1).fill(64, 0x11);
  const Bytes damagedBackup = Bytes().u32(kTinfosRecTag).u32(7);
  older.writeTo(folder / "DatasVesk.bin");
  damagedBackup.writeTo(folder / "DatasVesk.bin.back");

  TTinfosRec Datas;
  store.LoadHistoryAtStart(Datas);
  EXPECT_THAT(Datas, IsEmpty());
  const std::string aside = damagedName();
  const std::string backupAside = damagedName("DatasVesk.bin.back");
  EXPECT_EQ(fileBytes(aside), older.str());
  EXPECT_EQ(fileBytes(backupAside), damagedBackup.str());
  const auto lines = log.texts();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Point loading -> " + (folder / "DatasVesk.bin").string() +
                          " does not have the correct format !");
  EXPECT_EQ(lines[1], "Damaged history file kept as " + aside);
  EXPECT_THAT(lines[2], StartsWith("Backup loading -> Error while reading file : "));
  EXPECT_EQ(lines[3], "Damaged history file kept as " + backupAside);
  EXPECT_EQ(lines[4], "Points loaded");

  // The second save used to copy the new file over the damaged backup.
  Datas = test::SampleRecords(2);
  store.SaveHistory(Datas, "DatasVesk.bin");
  store.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_EQ(fileBytes(aside), older.str());
  EXPECT_EQ(fileBytes(backupAside), damagedBackup.str());
}

}  // namespace
}  // namespace vesk
