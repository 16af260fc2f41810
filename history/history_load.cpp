#include "history/history_load.h"

#include <sys/mman.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "common/event_log.h"
#include "common/exceptions.h"
#include "history/history_format.h"
#include "history/history_header.h"
#include "history/older_records.h"
#include "history/raw_file.h"

namespace vesk {
namespace {

// The panel is repainted for each text while nothing else runs; once per deleted record
// would make a history full of empty records load for minutes.
class DeletionProgress {
 public:
  explicit DeletionProgress(const LoadProgress& progress) : progress_(progress) {}

  void deleted(std::size_t index, std::size_t count) {
    if (!progress_) {
      return;
    }
    index_ = index;
    count_ = count;
    const auto now = std::chrono::steady_clock::now();
    if (count == 1 || now >= next_) {
      show();
      next_ = now + std::chrono::milliseconds(200);
    } else {
      pending_ = true;
    }
  }

  // The last deletion is always shown, so the panel ends on the true count.
  void finish() {
    if (pending_) {
      show();
    }
  }

 private:
  void show() {
    pending_ = false;
    progress_("Deleting index : " + std::to_string(index_) +
              " index deleted number : " + std::to_string(count_));
  }

  const LoadProgress& progress_;
  std::chrono::steady_clock::time_point next_;
  std::size_t index_ = 0;
  std::size_t count_ = 0;
  bool pending_ = false;
};

template <typename OldRecord>
void ReadOlderRecords(RawFile& file, std::uint32_t count, TTinfosRec& history) {
  constexpr std::size_t kChunk = 65536;
  std::vector<OldRecord> buffer(std::min<std::size_t>(count, kChunk));
  std::size_t done = 0;
  while (done < count) {
    const std::size_t n = std::min<std::size_t>(count - done, kChunk);
    file.readExact(buffer.data(), n * sizeof(OldRecord));
    std::transform(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n),
                   history.begin() + static_cast<std::ptrdiff_t>(done),
                   [](const OldRecord& old) { return ToTinfosRec(old); });
    done += n;
  }
}

// Room for count records, zero-filled. A year's history is a quarter of a gigabyte: the
// kernel is asked to back it with huge pages, so filling it costs a few hundred page faults
// instead of tens of thousands (a hint; ignored where not supported).
void MakeRoom(TTinfosRec& history, std::size_t count) {
  history.clear();
  history.reserve(count);
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(history.data());
  const auto end = begin + count * sizeof(TinfosRec);
  const auto first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  if (end >= first + kHugePage) {
    ::madvise(reinterpret_cast<void*>(first), (end - first) & ~(kHugePage - 1), MADV_HUGEPAGE);
  }
#endif
  history.resize(count);
}

// Step 4 of the load: everything after a valid tag. Returns the record count.
std::uint32_t ReadRecords(RawFile& file, const HistoryLayout& layout, TTinfosRec& history) {
  const std::uint32_t count = ReadRecordCount(file, layout);
  MakeRoom(history, count);
  switch (layout.tag) {
    case kTinfosRecTag:
      file.readExact(history.data(), std::size_t{count} * sizeof(TinfosRec));
      break;
    case kTinfosRecRozEzaTag:
      ReadOlderRecords<TinfosRecRozEza>(file, count, history);
      break;
    case kTinfosRecCorvoTag:
      ReadOlderRecords<TinfosRecCorvo>(file, count, history);
      break;
  }
  return count;
}

}  // namespace

void LoadHistory(const std::filesystem::path& fileName, std::span<const std::uint32_t> acceptedTags,
                 TTinfosRec& history, const LoadProgress& progress) {
  std::error_code ignored;
  if (!std::filesystem::exists(fileName, ignored)) {
    return;
  }
  RawFile file = RawFile::OpenForReading(fileName);
  const HistoryLayout& layout = ReadHistoryTag(file, fileName, acceptedTags);
  std::uint32_t count = 0;
  try {
    count = ReadRecords(file, layout, history);
  } catch (const std::exception& e) {
    throw Exception(kReadErrorPrefix + std::string(e.what()));
  }
  WriteLog("Data loaded : DatasVesk.bin,  points number : " + std::to_string(count));
  if (progress) {
    progress("Sort points...");
  }
  if (!history.empty()) {
    CleanUpHistory(history, progress);
    WriteLog("Data sorted, number of points : " + std::to_string(history.size()));
  }
}

void CleanUpHistory(TTinfosRec& history, const LoadProgress& progress) {
  const std::size_t n = history.size();
  if (n == 0) {
    return;
  }
  const std::size_t examined = n == 1 ? 1 : n - 1;
  DeletionProgress report(progress);
  std::size_t kept = 0;
  std::size_t deleted = 0;
  for (std::size_t i = 0; i < examined; ++i) {
    if (history[i].Date == 0.0) {
      ++deleted;
      // Where the record stood when it was removed: after the records kept so far.
      report.deleted(kept, deleted);
      continue;
    }
    if (kept != i) {
      history[kept] = history[i];
    }
    ++kept;
  }
  for (std::size_t i = examined; i < n; ++i) {
    history[kept++] = history[i];
  }
  history.resize(kept);
  report.finish();
}

}  // namespace vesk
