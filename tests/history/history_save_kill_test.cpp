// A save killed at each of its steps in turn (by the saving process itself, from the store's
// step hook, in a child run of this test): the history file and its ".back" copy always load,
// the file holds every record of the last completed save, the copy is at most one save behind,
// and the next start and save go on from there with files equal to memory byte for byte.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "history/history_format.h"
#include "history/history_load.h"
#include "history/history_store.h"
#include "tests/history/history_bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_child.h"

namespace vesk {
namespace {

using test::Bytes;
using ::testing::ElementsAre;

// What a scenario leaves ready: a store that has loaded or saved the files, the history the
// killed save writes, and the records each file may hold once the save is cut short.
struct Prepared {
  std::unique_ptr<HistoryStore> store;
  TTinfosRec next;
  TTinfosRec fileBefore;    // the file: the last completed save …
  TTinfosRec backupBefore;  // … and its copy, one save behind
};

using Prepare = std::function<Prepared(const std::filesystem::path& folder)>;

TTinfosRec Loaded(const std::filesystem::path& file) {
  TTinfosRec history;
  LoadHistory(file, kCurrentHistoryTag, history);
  return history;
}

// The line a killed child prints last, naming the step it was killed after.
constexpr std::string_view kKilledAfter = "killed after: ";

// The child's part ("<step> <folder>"): prepares the scenario in the folder, saves, and kills
// itself right after the save's step-th step (counted from 1); exits 0 when the save completed
// before reaching it.
[[noreturn]] void SaveAndKillAfterStep(const Prepare& prepare, const std::string& role) {
  std::istringstream in(role);
  int stop = 0;
  std::string folder;
  in >> stop >> std::ws;
  std::getline(in, folder);
  test::LogCapture log(folder);
  Prepared p = prepare(folder);
  int steps = 0;
  p.store->SetSaveStepHook([&](const std::string& step) {
    if (++steps == stop) {
      std::cout << kKilledAfter << step << std::endl;
      test::KillThisProcess();
    }
  });
  try {
    p.store->SaveHistory(p.next, kHistoryFileName);
  } catch (const std::exception& e) {
    std::cout << "the save failed: " << e.what() << std::endl;
    std::exit(2);
  }
  std::exit(0);
}

// Runs the save killed after its stop-th step in a child, in folder. Returns the name of that
// step, or nothing when the save completed before reaching it.
std::optional<std::string> SaveKilledAfterStep(const std::filesystem::path& folder, int stop) {
  test::TestChild child(std::to_string(stop) + " " + folder.string());
  const std::optional<int> exitCode = child.exitCode();
  const std::string output = child.output();
  if (exitCode) {
    EXPECT_EQ(*exitCode, 0) << "the save failed instead of being killed:\n" << output;
    return std::nullopt;
  }
  const std::size_t line = output.rfind(kKilledAfter);
  if (line == std::string::npos) {
    ADD_FAILURE() << "killed before any step:\n" << output;
    return "";
  }
  std::string step = output.substr(line + kKilledAfter.size());
  step.erase(step.find_last_not_of("\r\n") + 1);
  return step;
}

// Kills the save after each of its steps in turn, checks what it left each time, and returns
// the names of the steps.
std::vector<std::string> KillAtEveryStep(const Prepare& prepare) {
  if (const std::optional<std::string> role = test::ChildRole()) {
    SaveAndKillAfterStep(prepare, *role);
  }
  // What each file may hold, from the same scenario prepared here.
  Prepared p;
  {
    test::TempFolder scratch;
    test::LogCapture log(scratch.path());
    p = prepare(scratch.path());
  }
  std::vector<std::string> steps;
  for (int stop = 1; stop < 100; ++stop) {
    test::TempFolder folder;
    test::LogCapture log(folder.path());
    const std::optional<std::string> step = SaveKilledAfterStep(folder.path(), stop);
    if (!step) {
      // Not killed: the save is complete.
      EXPECT_TRUE(test::SameRecords(Loaded(folder / "DatasVesk.bin"), p.next));
      EXPECT_TRUE(test::SameRecords(Loaded(folder / "DatasVesk.bin.back"), p.fileBefore));
      break;
    }
    steps.push_back(*step);
    SCOPED_TRACE("killed after \"" + *step + "\"");

    // Both files load: the file as the last completed save or the new one left it, the copy
    // one save behind it.
    TTinfosRec file;
    TTinfosRec backup;
    try {
      file = Loaded(folder / "DatasVesk.bin");
      backup = Loaded(folder / "DatasVesk.bin.back");
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
      continue;
    }
    const bool fileNew = test::SameRecords(file, p.next);
    EXPECT_TRUE(fileNew || test::SameRecords(file, p.fileBefore)) << file.size() << " records";
    if (fileNew) {
      EXPECT_TRUE(test::SameRecords(backup, p.fileBefore)) << backup.size() << " records";
    } else {
      EXPECT_TRUE(test::SameRecords(backup, p.fileBefore) ||
                  test::SameRecords(backup, p.backupBefore))
          << backup.size() << " records";
    }

    // The program starts again from there and saves twice: whatever the killed save left
    // past the counted records is gone, and the copy is one save behind.
    HistoryStore restarted(folder.path());
    TTinfosRec Datas;
    restarted.LoadHistoryAtStart(Datas);
    EXPECT_TRUE(test::SameRecords(Datas, file));
    const TTinfosRec started = Datas;
    Datas.push_back(test::SampleRecord(500));
    Datas.push_back(test::SampleRecord(501));
    restarted.SaveHistory(Datas, kHistoryFileName);
    EXPECT_EQ(test::ReadFile(folder / "DatasVesk.bin"), test::CurrentFile(Datas).str());
    EXPECT_TRUE(test::SameRecords(Loaded(folder / "DatasVesk.bin.back"), started));
    const TTinfosRec saved = Datas;
    Datas.push_back(test::SampleRecord(502));
    restarted.SaveHistory(Datas, kHistoryFileName);
    EXPECT_EQ(test::ReadFile(folder / "DatasVesk.bin"), test::CurrentFile(Datas).str());
    EXPECT_EQ(test::ReadFile(folder / "DatasVesk.bin.back"), test::CurrentFile(saved).str());
    // Nothing the killed save left is kept beside them.
    EXPECT_THAT(test::HistoryFolderNames(folder.path()),
                ElementsAre("DatasVesk.bin", "DatasVesk.bin.back"));
  }
  return steps;
}

TTinfosRec Records(int first, int count) {
  TTinfosRec records;
  for (int i = 0; i < count; ++i) {
    records.push_back(test::SampleRecord(first + i));
  }
  return records;
}

// The usual periodic save: two earlier saves by the same store, then new records.
TEST(HistorySaveKill, IncrementalSave) {
  const auto steps = KillAtEveryStep([](const std::filesystem::path& folder) {
    Prepared p{std::make_unique<HistoryStore>(folder), Records(1, 12), Records(1, 7),
               Records(1, 4)};
    p.store->SaveHistory(p.backupBefore, kHistoryFileName);
    p.store->SaveHistory(p.fileBefore, kHistoryFileName);
    return p;
  });
  EXPECT_THAT(steps,
              ElementsAre("backup half appended", "backup appended", "backup appended flushed",
                          "backup count written", "backup count flushed", "file half appended",
                          "file appended", "file appended flushed", "file count written",
                          "file count flushed"));
}

// The first save after a start whose files an earlier killed save left with bytes past their
// counted records: both are cut back before they grow.
TEST(HistorySaveKill, IncrementalSaveAfterAnEarlierCrash) {
  const auto steps = KillAtEveryStep([](const std::filesystem::path& folder) {
    Prepared p{std::make_unique<HistoryStore>(folder), Records(1, 12), Records(1, 7),
               Records(1, 4)};
    Bytes backup = test::CurrentFile(p.backupBefore);
    backup.record(test::SampleRecord(5)).fill(13, 0x5A);
    backup.writeTo(folder / "DatasVesk.bin.back");
    Bytes file = test::CurrentFile(p.fileBefore);
    file.record(test::SampleRecord(8)).fill(41, 0xA5);
    file.writeTo(folder / "DatasVesk.bin");
    TTinfosRec Datas;
    p.store->LoadHistoryAtStart(Datas);
    EXPECT_TRUE(test::SameRecords(Datas, p.fileBefore));
    return p;
  });
  EXPECT_THAT(
      steps, ElementsAre("backup cut", "backup half appended", "backup appended",
                         "backup appended flushed", "backup count written", "backup count flushed",
                         "file cut", "file half appended", "file appended", "file appended flushed",
                         "file count written", "file count flushed"));
}

// A ".back" copy that is not the beginning of the history (another program's, or left by
// a start that set a damaged file aside) is made again, in one piece, before the file grows.
TEST(HistorySaveKill, BackupUpdateThatWritesANewCopy) {
  const auto steps = KillAtEveryStep([](const std::filesystem::path& folder) {
    Prepared p{std::make_unique<HistoryStore>(folder), Records(1, 12), Records(1, 7),
               Records(40, 3)};
    test::CurrentFile(p.backupBefore).writeTo(folder / "DatasVesk.bin.back");
    test::CurrentFile(p.fileBefore).writeTo(folder / "DatasVesk.bin");
    TTinfosRec Datas;
    p.store->LoadHistoryAtStart(Datas);
    return p;
  });
  EXPECT_THAT(steps,
              ElementsAre("backup copy half written", "backup copy written", "backup copy flushed",
                          "backup copy renamed", "file half appended", "file appended",
                          "file appended flushed", "file count written", "file count flushed"));
}

// The clean-up pass removed records at the start: memory is no extension of the file, which
// is written again whole, the previous one kept as the copy.
TEST(HistorySaveKill, FallbackRewrite) {
  const auto steps = KillAtEveryStep([](const std::filesystem::path& folder) {
    Prepared p{std::make_unique<HistoryStore>(folder), {}, {}, Records(1, 4)};
    TTinfosRec raw = Records(1, 7);
    raw[0].Date = 0.0;
    raw[3].Date = 0.0;
    test::CurrentFile(p.backupBefore).writeTo(folder / "DatasVesk.bin.back");
    test::CurrentFile(raw).writeTo(folder / "DatasVesk.bin");
    TTinfosRec Datas;
    p.store->LoadHistoryAtStart(Datas);
    EXPECT_EQ(Datas.size(), 5u);
    // The file, loaded, holds the records of memory: what the last completed save left.
    p.fileBefore = Datas;
    p.next = Datas;
    p.next.push_back(test::SampleRecord(20));
    p.next.push_back(test::SampleRecord(21));
    return p;
  });
  EXPECT_THAT(steps, ElementsAre("new file half written", "new file written", "new file flushed",
                                 "backup linked", "backup renamed", "new file renamed"));
}

}  // namespace
}  // namespace vesk
