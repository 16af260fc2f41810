#include "history/history_info.h"

#include <string>

#include "common/exceptions.h"
#include "history/history_header.h"
#include "history/raw_file.h"

namespace vesk {

HistoryInfo ReadHistoryInfo(const std::filesystem::path& fileName) {
  RawFile file = RawFile::OpenForReading(fileName);
  HistoryInfo info;
  info.layout = &ReadHistoryTag(file, fileName, kAllHistoryTags);
  try {
    info.count = ReadRecordCount(file, *info.layout);
    info.fileSize = file.size();
    // The date is the first field of every layout.
    if (info.count > 0) {
      file.readExactAt(&info.firstDate, sizeof info.firstDate, kHistoryHeaderSize);
      const std::uint64_t last =
          kHistoryHeaderSize + std::uint64_t{info.count - 1} * info.layout->recordSize;
      file.readExactAt(&info.lastDate, sizeof info.lastDate, last);
    }
  } catch (const std::exception& e) {
    throw Exception(kReadErrorPrefix + std::string(e.what()));
  }
  return info;
}

}  // namespace vesk
