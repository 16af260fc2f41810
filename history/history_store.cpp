#include "history/history_store.h"

#include <algorithm>
#include <cstring>
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
  std::error_code ignored;
  // Never truncate a leftover that may be a second name of another file.
  RemoveLeftover(temporary);
  try {
    if (CopyFileBlocks(source, temporary) == 0) {
      RawFile::OpenForReading(temporary).sync();
      ReplaceFile(temporary, target);
      return true;
    }
  } catch (...) {
  }
  std::filesystem::remove(temporary, ignored);
  return false;
}

// The record count of an open file in the current layout whose counted records are the first
// records of `records`, as far as the header, the size and three records (the first, the
// middle and the last) can tell; nothing otherwise. Reading them costs a few small reads
// whatever the length of the history. Records are compared byte for byte, padding included:
// loaded records keep the bytes of the file.
std::optional<std::uint32_t> CountedPrefix(RawFile& file, std::span<const TinfosRec> records) {
  std::uint32_t header[2] = {};
  file.readExactAt(header, sizeof header, 0);
  const std::uint32_t count = header[1];
  if (header[0] != kTinfosRecTag || count > records.size() ||
      file.size() < kHistoryHeaderSize + std::uint64_t{count} * sizeof(TinfosRec)) {
    return std::nullopt;
  }
  if (count > 0) {
    for (const std::size_t index :
         {std::size_t{0}, std::size_t{count} / 2, std::size_t{count} - 1}) {
      TinfosRec rec;
      file.readExactAt(&rec, sizeof rec, kHistoryHeaderSize + index * sizeof(TinfosRec));
      if (std::memcmp(&rec, &records[index], sizeof rec) != 0) {
        return std::nullopt;
      }
    }
  }
  return count;
}

void LogBackupFailed(const std::string& why) {
  WriteLog(std::string(kBackupFailedText) + why);
}

// Removes name when it is a second name of file (a rewrite cut short between its two renames
// leaves the backup so), before anything holds the file open: Windows neither renames over
// nor removes at once a name of an open file. The file keeps its records under its own name.
void DropSecondName(const std::filesystem::path& name, const std::filesystem::path& file) {
  const std::optional<FileIdentity> named = IdentityOf(name);
  const std::optional<FileIdentity> original = IdentityOf(file);
  if (named && original && named->sameFileAs(*original)) {
    std::error_code ignored;
    std::filesystem::remove(name, ignored);
  }
}

// An open file, or nothing when it cannot be opened (missing).
std::optional<RawFile> OpenForUpdate(const std::filesystem::path& path) {
  try {
    return RawFile::OpenForUpdate(path);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

HistoryStore::HistoryStore(std::filesystem::path chemExec) : ChemExec_(std::move(chemExec)) {}

void HistoryStore::LoadHistoryAtStart(TTinfosRec& Datas, const LoadProgress& progress) {
  const std::filesystem::path file = ChemExec_ / kHistoryFileName;
  known_.reset();
  noFileAtLoad_ = false;
  try {
    std::optional<LoadedFile> read;
    LoadHistory(file, kCurrentHistoryTag, Datas, progress, &read);
    std::error_code ignored;
    noFileAtLoad_ = !read && Datas.empty() && !std::filesystem::exists(file, ignored);
    // The first save appends to the file only when Datas holds exactly its records.
    if (read && read->count == Datas.size()) {
      known_ = KnownFile{file, read->identity, read->count, read->count};
    }
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
      if (!CopyDurably(file, backup)) {
        LogBackupFailed("the file could not be copied");
      }
      if (step_) {
        step_("backup copied");
      }
      return;
    }
    if (step_) {
      step_("backup linked");
    }
    try {
      ReplaceFile(temporary, backup);
      if (step_) {
        step_("backup renamed");
      }
    } catch (const std::exception& e) {
      LogBackupFailed(e.what());
    }
    // Still there when the rename found the copy already a name of the same file (it then
    // does nothing), or failed.
    std::filesystem::remove(temporary, error);
  } catch (const std::exception& e) {
    // A backup that cannot be made does not stop the save.
    LogBackupFailed(e.what());
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
  if (!SaveIncrementally(file, history)) {
    Rewrite(file, history);
  }
  WriteLog("Data saved : " + fileName + ",  points number : " + std::to_string(history.size()));
}

bool HistoryStore::SaveIncrementally(const std::filesystem::path& file, const TTinfosRec& history) {
  if (!known_ || known_->path != file || history.size() < known_->count) {
    return false;
  }
  DropSecondName(WithSuffix(file, kBackupSuffix), file);
  std::optional<RawFile> opened = OpenForUpdate(file);
  if (!opened) {
    return false;
  }
  RawFile& out = *opened;
  FileIdentity identity;
  try {
    identity = out.identity();
    // Anything else than the file as it was left, or a history that does not begin with
    // its records: the whole file is written again.
    if (identity != known_->identity || CountedPrefix(out, history) != known_->count) {
      return false;
    }
  } catch (const std::exception&) {
    return false;
  }
  const std::span<const TinfosRec> records(history);
  // The copy first, so that it is one save behind before the file moves on: it takes the
  // records of the last save, not those the polls appended since.
  UpdateBackup(file, identity, records.first(known_->saved));
  try {
    ExtendHistoryFile(out, known_->count, records, step_, "file");
    known_->identity = out.identity();
    known_->count = static_cast<std::uint32_t>(history.size());
    known_->saved = known_->count;
    out.close();
  } catch (...) {
    known_.reset();
    throw;
  }
  return true;
}

void HistoryStore::UpdateBackup(const std::filesystem::path& file, const FileIdentity& fileIdentity,
                                std::span<const TinfosRec> records) {
  const std::filesystem::path backup = WithSuffix(file, kBackupSuffix);
  try {
    if (!ExtendBackup(backup, fileIdentity, records)) {
      // Missing, damaged, changed, or a second name of the file itself (a rewrite cut short
      // between its two renames): a new copy of the file's records, in one piece.
      WriteHistoryFile(backup, records, {}, step_, "backup copy");
    }
  } catch (const std::exception& e) {
    // A backup that cannot be made does not stop the save.
    LogBackupFailed(e.what());
  }
}

bool HistoryStore::ExtendBackup(const std::filesystem::path& backup,
                                const FileIdentity& fileIdentity,
                                std::span<const TinfosRec> records) {
  std::optional<RawFile> opened = OpenForUpdate(backup);
  if (!opened) {
    return false;
  }
  RawFile& out = *opened;
  std::optional<std::uint32_t> have;
  try {
    if (out.identity().sameFileAs(fileIdentity)) {
      return false;
    }
    have = CountedPrefix(out, records);
  } catch (const std::exception&) {
    return false;
  }
  if (!have) {
    return false;
  }
  ExtendHistoryFile(out, *have, records, step_, "backup");
  out.close();
  return true;
}

void HistoryStore::Rewrite(const std::filesystem::path& file, const TTinfosRec& history) {
  known_.reset();
  WriteHistoryFile(
      file, history, [&] { KeepBackup(file); }, step_);
  if (const std::optional<FileIdentity> identity = IdentityOf(file)) {
    const auto count = static_cast<std::uint32_t>(history.size());
    known_ = KnownFile{file, *identity, count, count};
  }
}

bool HistoryStore::AppendNewRecords(const TTinfosRec& history) {
  std::lock_guard lock(FileSave_Section_);
  if (!damagedPending_.empty() || history.empty()) {
    return false;
  }
  if (!known_) {
    std::error_code ignored;
    const std::filesystem::path file = ChemExec_ / kHistoryFileName;
    if (!noFileAtLoad_ || std::filesystem::exists(file, ignored)) {
      return false;
    }
    // A new station's first reading: the file is made, as its first save would make it.
    Rewrite(file, history);
    noFileAtLoad_ = false;
    return true;
  }
  if (history.size() < known_->count) {
    return false;
  }
  if (history.size() == known_->count) {
    return true;
  }
  std::optional<RawFile> opened = OpenForUpdate(known_->path);
  if (!opened) {
    return false;
  }
  RawFile& out = *opened;
  try {
    // The same checks as a save's: anything else than the file as it was left waits for
    // the next save, which writes it whole.
    if (out.identity() != known_->identity || CountedPrefix(out, history) != known_->count) {
      return false;
    }
  } catch (const std::exception&) {
    return false;
  }
  try {
    ExtendHistoryFile(out, known_->count, history, step_, "file", appendFlush_);
    known_->identity = out.identity();
    known_->count = static_cast<std::uint32_t>(history.size());
    out.close();
  } catch (...) {
    // Left as it was loadable; the next save writes it whole.
    known_.reset();
    throw;
  }
  return true;
}

}  // namespace vesk
