#include "history/history_store.h"

#include <algorithm>
#include <utility>

#include "common/datetime.h"
#include "common/event_log.h"
#include "common/exceptions.h"
#include "common/number_text.h"
#include "history/copy_file_blocks.h"
#include "history/history_format.h"
#include "history/history_write.h"
#include "history/raw_file.h"

namespace vesk {
namespace {

std::filesystem::path WithSuffix(const std::filesystem::path& path, const std::string& suffix) {
  std::filesystem::path result = path;
  result += suffix;
  return result;
}

// "DatasVesk.bin.damaged-20260118-090503", with "-2", "-3" … when that name is taken.
std::filesystem::path DamagedName(const std::filesystem::path& file) {
  const DateTimeParts t = DecodeDateTime(Now());
  const std::string stamp = FormatText(".damaged-%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day,
                                       t.hour, t.minute, t.second);
  std::filesystem::path name = WithSuffix(file, stamp);
  std::error_code ignored;
  for (int n = 2; std::filesystem::exists(name, ignored); ++n) {
    name = WithSuffix(file, stamp + "-" + std::to_string(n));
  }
  return name;
}

// A copy of source in place of target, flushed before it replaces target, so a crash
// leaves the old target or the whole copy. Returns false, target untouched, on a failure.
bool CopyDurably(const std::filesystem::path& source, const std::filesystem::path& target) {
  const std::filesystem::path temporary = TemporaryFileFor(target);
  try {
    if (CopyFileBlocks(source, temporary) == 0) {
      RawFile::OpenForReading(temporary).sync();
      ReplaceFile(temporary, target);
      return true;
    }
  } catch (...) {
  }
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  return false;
}

}  // namespace

HistoryStore::HistoryStore(std::filesystem::path chemExec) : ChemExec_(std::move(chemExec)) {}

void HistoryStore::LoadHistoryAtStart(TTinfosRec& Datas, const LoadProgress& progress) {
  const std::filesystem::path file = ChemExec_ / kHistoryFileName;
  try {
    LoadHistory(file, kCurrentHistoryTag, Datas, progress);
  } catch (const std::exception& e) {
    WriteLog(std::string("Point loading -> ") + e.what());
    Datas.clear();
    // The next save would replace the file: keep it for whoever can repair it, and start
    // from the copy the previous save left.
    const bool setAside = SetAside(file);
    const std::filesystem::path backup = WithSuffix(file, kBackupSuffix);
    std::error_code ignored;
    if (std::filesystem::exists(backup, ignored)) {
      bool restored = false;
      try {
        LoadHistory(backup, kCurrentHistoryTag, Datas, progress);
        restored = true;
        WriteLog("History restored from " + backup.filename().string() +
                 ",  points number : " + std::to_string(Datas.size()));
      } catch (const std::exception& backupError) {
        WriteLog(std::string("Backup loading -> ") + backupError.what());
        Datas.clear();
        // Else the second save would copy the new file over it.
        SetAside(backup);
      }
      // With no file, a restart before the next save would start empty, and the second
      // save after it would copy that new start over the backup.
      if (restored && setAside) {
        CopyDurably(backup, file);
      }
    }
  }
  WriteLog("Points loaded");
}

bool HistoryStore::SetAside(const std::filesystem::path& damaged) {
  std::error_code ignored;
  if (!std::filesystem::exists(damaged, ignored)) {
    return true;
  }
  const std::filesystem::path name = DamagedName(damaged);
  try {
    ReplaceFile(damaged, name);
  } catch (const std::exception& e) {
    WriteLog(std::string("Damaged history file could not be set aside -> ") + e.what());
    if (std::find(damagedPending_.begin(), damagedPending_.end(), damaged) ==
        damagedPending_.end()) {
      damagedPending_.push_back(damaged);
    }
    return false;
  }
  WriteLog("Damaged history file kept as " + name.filename().string());
  return true;
}

void HistoryStore::KeepBackup(const std::filesystem::path& file) {
  try {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
      return;  // the very first save
    }
    const std::filesystem::path backup = WithSuffix(file, kBackupSuffix);
    const std::filesystem::path temporary = TemporaryFileFor(backup);
    std::filesystem::remove(temporary, error);
    // The new file is written under another name and renamed over the old one, so the old
    // content is never changed in place: a second name for it is a faithful backup. A copy
    // where the file system has no links.
    std::filesystem::create_hard_link(file, temporary, error);
    if (error) {
      CopyDurably(file, backup);
      return;
    }
    try {
      ReplaceFile(temporary, backup);
    } catch (...) {
      std::filesystem::remove(temporary, error);
    }
  } catch (...) {
    // A backup that cannot be made does not stop the save.
  }
}

void HistoryStore::SaveHistory(const TTinfosRec& history, const std::string& fileName) {
  if (history.empty()) {
    return;
  }
  std::lock_guard lock(FileSave_Section_);
  const std::filesystem::path file = ChemExec_ / fileName;
  while (!damagedPending_.empty()) {
    const std::filesystem::path damaged = damagedPending_.back();
    damagedPending_.pop_back();
    if (!SetAside(damaged)) {
      throw EInOutError("The damaged history file \"" + damaged.string() +
                        "\" could not be set aside; it is not replaced");
    }
  }
  WriteHistoryFile(file, history, [&] { KeepBackup(file); });
  WriteLog("Data saved : " + fileName + ",  points number : " + std::to_string(history.size()));
}

}  // namespace vesk
