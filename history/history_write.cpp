#include "history/history_write.h"

#include <stdexcept>

#include "common/checked.h"
#include "history/history_format.h"
#include "history/raw_file.h"

namespace vesk {
namespace {

void Step(const SaveStepHook& step, const std::string& who, const char* what) {
  if (step) {
    step(who + " " + what);
  }
}

std::uint64_t RecordsEnd(std::size_t count) {
  return kHistoryHeaderSize + std::uint64_t{count} * sizeof(TinfosRec);
}

}  // namespace

void WriteHistoryRecords(const std::filesystem::path& file, std::span<const TinfosRec> records,
                         const SaveStepHook& step, const std::string& who) {
  const std::uint32_t header[2] = {kTinfosRecTag,
                                   ToCardinal(static_cast<long long>(records.size()))};
  RawFile out = RawFile::Create(file);
  try {
    out.write(header, sizeof header);
    // In two parts when a test watches, so that a kill can find the file half written.
    const std::size_t half = step && records.size() >= 2 ? records.size() / 2 : 0;
    if (half > 0) {
      out.write(records.data(), half * sizeof(TinfosRec));
      Step(step, who, "half written");
    }
    out.write(records.data() + half, (records.size() - half) * sizeof(TinfosRec));
    Step(step, who, "written");
    out.sync();
    Step(step, who, "flushed");
    out.close();
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    throw;
  }
}

void RemoveLeftover(const std::filesystem::path& temporary) {
  std::error_code ignored;
  if (std::filesystem::symlink_status(temporary, ignored).type() !=
      std::filesystem::file_type::directory) {
    std::filesystem::remove(temporary, ignored);
  }
}

std::filesystem::path TemporaryFileFor(const std::filesystem::path& path) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  return temporary;
}

void WriteHistoryFile(const std::filesystem::path& path, std::span<const TinfosRec> records,
                      const std::function<void()>& beforeReplace, const SaveStepHook& step,
                      const std::string& who) {
  const std::filesystem::path temporary = TemporaryFileFor(path);
  // One left by a save cut short may be a second name of the file or of its copy: truncating
  // it would change them.
  std::error_code ignored;
  RemoveLeftover(temporary);
  WriteHistoryRecords(temporary, records, step, who);
  try {
    if (beforeReplace) {
      beforeReplace();
    }
    ReplaceFile(temporary, path);
    Step(step, who, "renamed");
  } catch (...) {
    std::filesystem::remove(temporary, ignored);
    throw;
  }
}

void ExtendHistoryFile(RawFile& file, std::uint32_t have, std::span<const TinfosRec> records,
                       const SaveStepHook& step, const std::string& who, bool flush) {
  const std::uint32_t want = ToCardinal(static_cast<long long>(records.size()));
  if (want < have) {
    throw std::logic_error("ExtendHistoryFile: the file holds more records than it is given");
  }
  const std::uint64_t end = RecordsEnd(have);
  if (file.size() > end) {
    // What a save cut short left past the counted records.
    file.truncate(end);
    Step(step, who, "cut");
  }
  if (want == have) {
    return;
  }
  const std::span<const TinfosRec> added = records.subspan(have);
  const std::size_t half = step && added.size() >= 2 ? added.size() / 2 : 0;
  if (half > 0) {
    file.writeAt(added.data(), half * sizeof(TinfosRec), end);
    Step(step, who, "half appended");
  }
  file.writeAt(added.data() + half, (added.size() - half) * sizeof(TinfosRec),
               end + half * sizeof(TinfosRec));
  Step(step, who, "appended");
  if (flush) {
    file.sync();
    Step(step, who, "appended flushed");
  }
  file.writeAt(&want, sizeof want, sizeof(std::uint32_t));
  Step(step, who, "count written");
  if (flush) {
    file.sync();
    Step(step, who, "count flushed");
  }
}

}  // namespace vesk
