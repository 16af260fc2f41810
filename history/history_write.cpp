#include "history/history_write.h"

#include "common/checked.h"
#include "history/history_format.h"
#include "history/raw_file.h"

namespace vesk {

void WriteHistoryRecords(const std::filesystem::path& file, const TTinfosRec& history) {
  const std::uint32_t header[2] = {kTinfosRecTag,
                                   ToCardinal(static_cast<long long>(history.size()))};
  RawFile out = RawFile::Create(file);
  try {
    out.write(header, sizeof header);
    out.write(history.data(), history.size() * sizeof(TinfosRec));
    out.sync();
    out.close();
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    throw;
  }
}

std::filesystem::path TemporaryFileFor(const std::filesystem::path& path) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  return temporary;
}

void WriteHistoryFile(const std::filesystem::path& path, const TTinfosRec& history,
                      const std::function<void()>& beforeReplace) {
  const std::filesystem::path temporary = TemporaryFileFor(path);
  WriteHistoryRecords(temporary, history);
  try {
    if (beforeReplace) {
      beforeReplace();
    }
    ReplaceFile(temporary, path);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw;
  }
}

}  // namespace vesk
