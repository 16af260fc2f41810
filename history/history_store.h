#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "history/history_load.h"
#include "history/history_write.h"
#include "history/raw_file.h"
#include "history/tinfos_rec.h"

namespace vesk {

inline constexpr const char* kHistoryFileName = "DatasVesk.bin";
inline constexpr const char* kBackupSuffix = ".back";
// Logged, with the reason, when a save could not bring the ".back" copy up to date.
inline constexpr const char* kBackupFailedText = "History backup could not be updated -> ";

// The history file of the program folder with its ".back" copy. The main window owns one,
// and with it FileSave_Section, the lock every save runs in.
class HistoryStore {
 public:
  // chemExec: the program's folder.
  explicit HistoryStore(std::filesystem::path chemExec);

  const std::filesystem::path& ChemExec() const { return ChemExec_; }
  std::mutex& FileSave_Section() { return FileSave_Section_; }

  // The start-up load of "DatasVesk.bin" with the current tag into Datas. A failure logs
  // "Point loading -> " + the message and leaves Datas empty; a file that failed is set
  // aside under a new name (logged), so no later save replaces it, and the ".back" copy is
  // loaded in its place when it can be (logged) and copied to "DatasVesk.bin", so that a
  // restart before the next save finds it too. A ".back" that fails as well is set aside
  // in turn. Logs "Points loaded" in every case.
  void LoadHistoryAtStart(TTinfosRec& Datas, const LoadProgress& progress = {});

  // Writes history to ChemExec + fileName, keeping the previous file as fileName + ".back".
  // An empty history writes nothing.
  //
  // When history is the file as this store last loaded or saved it plus newer records (the
  // usual case), only what is new is written: the ".back" copy is brought up to the file's
  // records the same way, then the new records are appended to the file, each file's
  // records flushed before its count and the count flushed (ExtendHistoryFile). Otherwise
  // (the clean-up pass removed records, a damaged file was set aside, the file changed
  // outside the program, the file or its copy is not what it should be) the whole file is
  // rewritten: a temporary file flushed, the previous file kept as ".back", the new one
  // renamed into place. Either way a crash at any moment leaves both files loadable, the
  // file with every record of the last completed save and the ".back" copy one save behind.
  // Raises EInOutError on a write failure, after the lock is left and the temporary file
  // removed; the file then still loads as the last completed save left it.
  void SaveHistory(const TTinfosRec& history, const std::string& fileName);

  // Brings "DatasVesk.bin" durably up to history between two saves, so that a crash, a
  // power cut or a killed process loses no reading taken before it: the records past those
  // the file holds are appended and flushed, then its count written and flushed, as a save
  // appends them. Only when the file is as this store last left it and history begins with
  // its records (or the start found no file, which is then made); otherwise nothing is
  // written and the next save writes everything. The
  // ".back" copy is left alone: it stays one save behind. Raises EInOutError on a write
  // failure; the file then loads as before and the next save writes it whole.
  // Returns whether the file now holds every record of history.
  bool AppendNewRecords(const TTinfosRec& history);

  // For the benchmarks only: the polls' appends without their flushes, as a baseline.
  void SetAppendFlush(bool flush) { appendFlush_ = flush; }

  // For the kill tests only: called after each step of a save (see history_write.h).
  void SetSaveStepHook(SaveStepHook hook) { step_ = std::move(hook); }

 private:
  // The history file as this store last loaded or wrote it.
  struct KnownFile {
    std::filesystem::path path;
    FileIdentity identity;
    std::uint32_t count = 0;
    // The records the last completed save (or the load) left in the file: the ".back" copy
    // is brought up to them at the next save, so it stays one save behind.
    std::uint32_t saved = 0;
  };

  bool SetAside(const std::filesystem::path& damaged);
  void KeepBackup(const std::filesystem::path& file);
  bool SaveIncrementally(const std::filesystem::path& file, const TTinfosRec& history);
  void UpdateBackup(const std::filesystem::path& file, const FileIdentity& fileIdentity,
                    std::span<const TinfosRec> records);
  bool ExtendBackup(const std::filesystem::path& backup, const FileIdentity& fileIdentity,
                    std::span<const TinfosRec> records);
  void Rewrite(const std::filesystem::path& file, const TTinfosRec& history);

  std::filesystem::path ChemExec_;
  std::mutex FileSave_Section_;
  // Files that failed to load at start and could not be set aside yet: the next save
  // tries again and, failing, replaces neither.
  std::vector<std::filesystem::path> damagedPending_;
  std::optional<KnownFile> known_;
  // The start found no history file: the first reading makes it.
  bool noFileAtLoad_ = false;
  bool appendFlush_ = true;
  SaveStepHook step_;
};

}  // namespace vesk
