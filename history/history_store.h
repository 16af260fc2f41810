#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "history/history_load.h"
#include "history/tinfos_rec.h"

namespace vesk {

inline constexpr const char* kHistoryFileName = "DatasVesk.bin";
inline constexpr const char* kBackupSuffix = ".back";

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
  // An empty history writes nothing. A crash at any moment leaves the previous file or the
  // new one in place, never a truncated one. Raises EInOutError on a write failure, after
  // the lock is left and the temporary file removed.
  void SaveHistory(const TTinfosRec& history, const std::string& fileName);

 private:
  bool SetAside(const std::filesystem::path& damaged);
  void KeepBackup(const std::filesystem::path& file);

  std::filesystem::path ChemExec_;
  std::mutex FileSave_Section_;
  // Files that failed to load at start and could not be set aside yet: the next save
  // tries again and, failing, replaces neither.
  std::vector<std::filesystem::path> damagedPending_;
};

}  // namespace vesk
