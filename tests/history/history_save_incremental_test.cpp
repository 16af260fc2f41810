// Saves that write only what is new, and the cases where the whole file is written again.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <fstream>
#include <functional>
#include <optional>

#include "common/exceptions.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "history/history_store.h"
#include "history/raw_file.h"
#include "history/synthetic_history.h"
#include "tests/history/history_bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using test::Bytes;
using ::testing::ElementsAre;

// The bytes this process has handed to write() and pwrite() so far.
std::optional<std::uint64_t> BytesWritten() {
#ifdef _WIN32
  // Under Wine, /proc/self/io also counts what Wine itself writes to its server and its files,
  // which a busy machine makes large; Windows has no such count.
  return std::nullopt;
#else
  std::ifstream in("/proc/self/io");
  std::string name;
  std::uint64_t value = 0;
  while (in >> name >> value) {
    if (name == "wchar:") {
      return value;
    }
  }
  return std::nullopt;
#endif
}

class HistoryIncrementalSave : public ::testing::Test {
 protected:
  std::string fileBytes(const std::string& name) const { return test::ReadFile(folder / name); }

  std::uint64_t inode(const std::string& name) const {
    return IdentityOf(folder / name).value_or(FileIdentity{}).inode;
  }

  std::vector<std::string> folderNames() const { return test::HistoryFolderNames(folder.path()); }

  TTinfosRec loadAtStart() {
    TTinfosRec Datas;
    store.LoadHistoryAtStart(Datas);
    return Datas;
  }

  test::TempFolder folder;
  test::LogCapture log{folder.path()};
  HistoryStore store{folder.path()};
};

TEST_F(HistoryIncrementalSave, PeriodicSaveWritesOnlyTheNewRecords) {
  TTinfosRec Datas = GenerateHistory(45000.0, 100'000, 10.0);
  store.SaveHistory(Datas, "DatasVesk.bin");
  const TTinfosRec first = Datas;
  Datas.insert(Datas.end(), 90, test::SampleRecord(1));
  store.SaveHistory(Datas, "DatasVesk.bin");  // makes the ".back" copy once
  const TTinfosRec second = Datas;
  const std::uint64_t fileInode = inode("DatasVesk.bin");
  const std::uint64_t backupInode = inode("DatasVesk.bin.back");

  const std::optional<std::uint64_t> before = BytesWritten();
  for (int i = 0; i < 90; ++i) {
    Datas.push_back(test::SampleRecord(i + 2));
  }
  store.SaveHistory(Datas, "DatasVesk.bin");
  const std::optional<std::uint64_t> after = BytesWritten();

  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(Datas).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(second).str());
  // Both grew where they are.
  EXPECT_EQ(inode("DatasVesk.bin"), fileInode);
  EXPECT_EQ(inode("DatasVesk.bin.back"), backupInode);
  EXPECT_THAT(folderNames(), ElementsAre("DatasVesk.bin", "DatasVesk.bin.back"));
  EXPECT_THAT(log.texts(), ElementsAre("Data saved : DatasVesk.bin,  points number : 100000",
                                       "Data saved : DatasVesk.bin,  points number : 100090",
                                       "Data saved : DatasVesk.bin,  points number : 100180"));
  if (!before || !after) {
    GTEST_SKIP() << "no /proc/self/io";
  }
  // 2 × 90 records, two counts and the log line, against 8 MB for the whole file.
  EXPECT_LT(*after - *before, 16'384u);
}

TEST_F(HistoryIncrementalSave, SaveWithNothingNewBringsTheBackupUpToTheFile) {
  const TTinfosRec Datas = test::SampleRecords(5);
  store.SaveHistory(test::SampleRecords(3), "DatasVesk.bin");
  store.SaveHistory(Datas, "DatasVesk.bin");
  store.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(Datas).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(Datas).str());
}

// The clean-up pass removed records, and memory after new polls is as long as the file: the
// save writes the whole file, equal to memory byte for byte.
TEST_F(HistoryIncrementalSave, AfterTheCleanUpPassRemovedRecordsTheFileEqualsMemory) {
  TTinfosRec raw = test::SampleRecords(6);
  raw[0].Date = 0.0;
  raw[2].Date = 0.0;
  const Bytes onDisk = test::CurrentFile(raw);
  onDisk.writeTo(folder / "DatasVesk.bin");
  test::CurrentFile(test::SampleRecords(2)).writeTo(folder / "DatasVesk.bin.back");

  TTinfosRec Datas = loadAtStart();
  ASSERT_EQ(Datas.size(), 4u);
  // As many records as the file counts, the last one and the first differing from it.
  Datas.push_back(test::SampleRecord(7));
  Datas.push_back(test::SampleRecord(8));
  store.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(Datas).str());
  // The previous file, as every save keeps it.
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), onDisk.str());

  // From there on the saves append again.
  const TTinfosRec saved = Datas;
  Datas.push_back(test::SampleRecord(9));
  const std::uint64_t fileInode = inode("DatasVesk.bin");
  store.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_EQ(inode("DatasVesk.bin"), fileInode);
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(Datas).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(saved).str());
}

// Even when the records the save looks at in the file (first, middle, last) agree with
// memory, a clean-up pass at load time makes the next save a rewrite.
TEST_F(HistoryIncrementalSave, CleanUpThatKeepsTheSampledRecordsStillRewrites) {
  TTinfosRec raw = test::SampleRecords(5);
  raw[1].Date = 0.0;
  raw[3] = raw[2];
  test::CurrentFile(raw).writeTo(folder / "DatasVesk.bin");
  TTinfosRec Datas = loadAtStart();
  ASSERT_EQ(Datas.size(), 4u);
  // File [a 0 c c e], memory [a c c e e]: records 0, 2 and 4 are the same in both.
  Datas.push_back(raw[4]);
  store.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(Datas).str());
}

// Another program changed the file since the last save: the save sees it in the file's
// identity (size, times, inode) or in the records it reads (first, middle, last), and writes
// the whole file again, the changed one kept as the copy.
TEST_F(HistoryIncrementalSave, FileChangedOutsideTheProgramIsWrittenAgainWhole) {
  struct Case {
    const char* what;
    // Changes the file holding `saved`; returns what it then holds, nothing when removed.
    std::function<std::optional<Bytes>(const std::filesystem::path&, TTinfosRec saved)> change;
  };
  const std::vector<Case> cases = {
      {"a record the save reads, as many records",
       [](const std::filesystem::path& file, TTinfosRec saved) -> std::optional<Bytes> {
         saved[2].TempExt = -40.0;  // the save reads records 0, 2 and 3 of four
         test::CurrentFile(saved).writeTo(file);
         return test::CurrentFile(saved);
       }},
      {"another record, a new modification time",
       [](const std::filesystem::path& file, TTinfosRec saved) -> std::optional<Bytes> {
         saved[1].TempExt = -40.0;
         test::CurrentFile(saved).writeTo(file);
         // Within the clock's step of the save the time alone could not tell.
         std::filesystem::last_write_time(
             file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
         return test::CurrentFile(saved);
       }},
      {"grown",
       [](const std::filesystem::path& file, const TTinfosRec&) -> std::optional<Bytes> {
         test::CurrentFile(test::SampleRecords(6)).writeTo(file);
         return test::CurrentFile(test::SampleRecords(6));
       }},
      {"removed",
       [](const std::filesystem::path& file, const TTinfosRec&) -> std::optional<Bytes> {
         std::filesystem::remove(file);
         return std::nullopt;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempFolder program;
    HistoryStore saving(program.path());
    TTinfosRec Datas = test::SampleRecords(4);
    saving.SaveHistory(Datas, "DatasVesk.bin");
    const std::optional<Bytes> changed = c.change(program / "DatasVesk.bin", Datas);

    Datas.push_back(test::SampleRecord(40));
    saving.SaveHistory(Datas, "DatasVesk.bin");
    EXPECT_EQ(test::ReadFile(program / "DatasVesk.bin"), test::CurrentFile(Datas).str());
    if (changed) {
      EXPECT_EQ(test::ReadFile(program / "DatasVesk.bin.back"), changed->str());
    } else {
      EXPECT_FALSE(std::filesystem::exists(program / "DatasVesk.bin.back"));
    }
  }
}

TEST_F(HistoryIncrementalSave, HistoryShorterThanTheFileIsWrittenAgainWhole) {
  store.SaveHistory(test::SampleRecords(4), "DatasVesk.bin");
  store.SaveHistory(test::SampleRecords(3), "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(test::SampleRecords(3)).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(test::SampleRecords(4)).str());
}

TEST_F(HistoryIncrementalSave, BytesPastTheCountedRecordsAreCutOffByTheNextSave) {
  Bytes file = test::CurrentFile(test::SampleRecords(3));
  file.record(test::SampleRecord(4)).fill(21, 0xEE);
  file.writeTo(folder / "DatasVesk.bin");
  Bytes backup = test::CurrentFile(test::SampleRecords(2));
  backup.fill(5, 0x77);
  backup.writeTo(folder / "DatasVesk.bin.back");

  TTinfosRec Datas = loadAtStart();
  ASSERT_TRUE(test::SameRecords(Datas, test::SampleRecords(3)));
  Datas.push_back(test::SampleRecord(10));
  store.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(Datas).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(test::SampleRecords(3)).str());
}

// A rewrite cut short between its two renames leaves the copy a second name of the file:
// growing one would grow the other, so the copy is made again.
TEST_F(HistoryIncrementalSave, BackupThatIsASecondNameOfTheFileIsMadeAgain) {
  test::CurrentFile(test::SampleRecords(3)).writeTo(folder / "DatasVesk.bin");
  std::filesystem::create_hard_link(folder / "DatasVesk.bin", folder / "DatasVesk.bin.back");
  TTinfosRec Datas = loadAtStart();
  Datas.push_back(test::SampleRecord(4));
  store.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(Datas).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(test::SampleRecords(3)).str());
  EXPECT_NE(inode("DatasVesk.bin"), inode("DatasVesk.bin.back"));
}

TEST_F(HistoryIncrementalSave, BackupOfOtherRecordsIsMadeAgain) {
  test::CurrentFile(test::SampleRecords(3)).writeTo(folder / "DatasVesk.bin");
  TTinfosRec foreign = test::SampleRecords(2);
  foreign[1].RHExt = 1.0;
  test::CurrentFile(foreign).writeTo(folder / "DatasVesk.bin.back");
  TTinfosRec Datas = loadAtStart();
  Datas.push_back(test::SampleRecord(4));
  store.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(test::SampleRecords(3)).str());
  EXPECT_THAT(folderNames(), ElementsAre("DatasVesk.bin", "DatasVesk.bin.back"));
}

// A start that restored the history from the copy saves by a whole rewrite first.
TEST_F(HistoryIncrementalSave, StartFromTheBackupRewritesAtTheFirstSave) {
  Bytes().u32(kTinfosRecTag).u32(99).writeTo(folder / "DatasVesk.bin");
  test::CurrentFile(test::SampleRecords(3)).writeTo(folder / "DatasVesk.bin.back");
  TTinfosRec Datas = loadAtStart();
  ASSERT_EQ(Datas.size(), 3u);
  const std::uint64_t copiedInode = inode("DatasVesk.bin");
  Datas.push_back(test::SampleRecord(4));
  store.SaveHistory(Datas, "DatasVesk.bin");
  EXPECT_NE(inode("DatasVesk.bin"), copiedInode);
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(Datas).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), test::CurrentFile(test::SampleRecords(3)).str());
}

#ifndef _WIN32
// Runs store.SaveHistory(history) in a child whose files may not grow past `limit` bytes (a
// full disk; SIGXFSZ ignored, so the write fails). 0 when the save raised the file layer's
// write error and left the lock; other values name what went wrong instead.
int SaveOnAFullDisk(HistoryStore& store, const TTinfosRec& history, rlim_t limit) {
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit fileSize{limit, limit};
    setrlimit(RLIMIT_FSIZE, &fileSize);
    int code = 0;
    try {
      store.SaveHistory(history, "DatasVesk.bin");
      code = 1;
    } catch (const EInOutError& e) {
      code = e.message().starts_with("Write error on file \"") ? 0 : 2;
    } catch (...) {
      code = 3;
    }
    if (!store.FileSave_Section().try_lock()) {
      code = 4;
    }
    _exit(code);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + status;
}

// A write that fails half-way through an appending save (here: the file size limit) raises
// the file layer's error, leaves the lock, and the file loads as the last completed save
// left it; the next save cuts off what the failed one appended.
TEST_F(HistoryIncrementalSave, FailedAppendRaisesAndLeavesTheLastCompletedSave) {
  TTinfosRec Datas = test::SampleRecords(20);
  store.SaveHistory(test::SampleRecords(10), "DatasVesk.bin");
  store.SaveHistory(Datas, "DatasVesk.bin");
  const std::string saved = fileBytes("DatasVesk.bin");

  TTinfosRec more = Datas;
  for (int i = 0; i < 10; ++i) {
    more.push_back(test::SampleRecord(100 + i));
  }
  // Room for 3 of the 10 new records.
  EXPECT_EQ(SaveOnAFullDisk(store, more, saved.size() + 3 * sizeof(TinfosRec) + 10), 0);
  EXPECT_GT(std::filesystem::file_size(folder / "DatasVesk.bin"), saved.size());
  TTinfosRec loaded;
  LoadHistory(folder / "DatasVesk.bin", kCurrentHistoryTag, loaded);
  EXPECT_TRUE(test::SameRecords(loaded, Datas));

  HistoryStore restarted(folder.path());
  TTinfosRec again;
  restarted.LoadHistoryAtStart(again);
  again.push_back(test::SampleRecord(200));
  restarted.SaveHistory(again, "DatasVesk.bin");
  EXPECT_EQ(fileBytes("DatasVesk.bin"), test::CurrentFile(again).str());
  EXPECT_EQ(fileBytes("DatasVesk.bin.back"), saved);
}

// The two other kinds of save on a full disk: the whole file written again, and the ".back"
// copy made anew before the file grows. Each raises the write error and leaves both files
// as they were, with nothing beside them; the next save with room goes through.
TEST(HistoryFullDisk, ARewriteOrANewCopyKeepsBothFiles) {
  const struct {
    const char* what;
    // Writes the files, loads or saves them with the store, and returns the history to save.
    std::function<TTinfosRec(const std::filesystem::path&, HistoryStore&)> prepare;
  } cases[] = {
      {"whole rewrite: memory lost its first record",
       [](const std::filesystem::path&, HistoryStore& store) {
         store.SaveHistory(test::SampleRecords(30), "DatasVesk.bin");
         store.SaveHistory(test::SampleRecords(40), "DatasVesk.bin");
         TTinfosRec history = test::SampleRecords(45);
         history.erase(history.begin());
         return history;
       }},
      {"new copy: the .back holds other records",
       [](const std::filesystem::path& folder, HistoryStore& store) {
         TTinfosRec other;
         for (int i = 0; i < 20; ++i) {
           other.push_back(test::SampleRecord(900 + i));
         }
         test::CurrentFile(other).writeTo(folder / "DatasVesk.bin.back");
         test::CurrentFile(test::SampleRecords(40)).writeTo(folder / "DatasVesk.bin");
         TTinfosRec history;
         store.LoadHistoryAtStart(history);
         history.push_back(test::SampleRecord(41));
         return history;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempFolder folder;
    test::LogCapture log(folder.path());
    HistoryStore store(folder.path());
    const TTinfosRec history = c.prepare(folder.path(), store);
    const std::string file = test::ReadFile(folder / "DatasVesk.bin");
    const std::string backup = test::ReadFile(folder / "DatasVesk.bin.back");

    // Room for half the file: neither a new file nor a new copy fits.
    EXPECT_EQ(SaveOnAFullDisk(store, history, file.size() / 2), 0);
    EXPECT_EQ(test::ReadFile(folder / "DatasVesk.bin"), file);
    EXPECT_EQ(test::ReadFile(folder / "DatasVesk.bin.back"), backup);
    EXPECT_THAT(test::HistoryFolderNames(folder.path()),
                ElementsAre("DatasVesk.bin", "DatasVesk.bin.back"));

    store.SaveHistory(history, "DatasVesk.bin");
    EXPECT_EQ(test::ReadFile(folder / "DatasVesk.bin"), test::CurrentFile(history).str());
  }
}
#endif

}  // namespace
}  // namespace vesk
