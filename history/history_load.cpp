#include "history/history_load.h"

#ifndef _WIN32
#include <sys/mman.h>
#endif

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

// A read of more than one block shows how far it is, so that the window is there from the
// start of a long load: "Loading points... 0 %" before the first block, then a new figure a
// few times per second at most, never once the last block is read.
class ReadingProgress {
 public:
  ReadingProgress(const LoadProgress& progress, std::size_t total, std::size_t block)
      : progress_(progress), total_(total), active_(progress && total > block) {
    if (active_) {
      show(0);
    }
  }

  void read(std::size_t done) {
    if (active_ && done < total_ && std::chrono::steady_clock::now() >= next_) {
      show(done);
    }
  }

 private:
  void show(std::size_t done) {
    progress_("Loading points... " + std::to_string(done * 100 / total_) + " %");
    next_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
  }

  const LoadProgress& progress_;
  std::size_t total_;
  bool active_;
  std::chrono::steady_clock::time_point next_;
};

template <typename OldRecord>
void ReadOlderRecords(RawFile& file, std::uint32_t count, TTinfosRec& history,
                      const LoadProgress& progress) {
  constexpr std::size_t kChunk = 65536;
  ReadingProgress reading(progress, count, kChunk);
  std::vector<OldRecord> buffer(std::min<std::size_t>(count, kChunk));
  std::size_t done = 0;
  while (done < count) {
    const std::size_t n = std::min<std::size_t>(count - done, kChunk);
    file.readExact(buffer.data(), n * sizeof(OldRecord));
    std::transform(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n),
                   history.begin() + static_cast<std::ptrdiff_t>(done),
                   [](const OldRecord& old) { return ToTinfosRec(old); });
    done += n;
    reading.read(done);
  }
}

// The records the clean-up pass examines: all but the last of two or more.
std::size_t ExaminedCount(std::size_t n) {
  return n <= 1 ? n : n - 1;
}

// Room for count records and a tenth more, none of it touched yet. A year's history is a
// quarter of a gigabyte: the kernel is asked to back it with huge pages, so filling it costs
// a few hundred page faults instead of tens of thousands (a hint; ignored where not
// supported). The tenth more costs no memory until records are appended: without it the
// first poll after the load would move the whole history into an array twice its size.
void MakeRoom(TTinfosRec& history, std::size_t count) {
  history.clear();
  history.shrink_to_fit();
  history.reserve(count + count / 10);
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(history.data());
  const auto end = begin + history.capacity() * sizeof(TinfosRec);
  const auto first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  if (end >= first + kHugePage) {
    ::madvise(reinterpret_cast<void*>(first), (end - first) & ~(kHugePage - 1), MADV_HUGEPAGE);
  }
#endif
}

// The current layout, read straight into history a few megabytes at a time: each block is
// made (zero-filled) and read over while it is still in the processor's cache, and looked
// through for empty records then, so the clean-up pass has nothing to do on a file without
// any. Returns the index of the first empty record the clean-up pass examines, or the
// number it examines when there is none.
std::size_t ReadCurrentRecords(RawFile& file, std::uint32_t count, TTinfosRec& history,
                               const LoadProgress& progress) {
  constexpr std::size_t kBlock = (std::size_t{2} << 20) / sizeof(TinfosRec);
  ReadingProgress reading(progress, count, kBlock);
  const std::size_t examined = ExaminedCount(count);
  std::size_t firstEmpty = examined;
  std::size_t done = 0;
  while (done < count) {
    const std::size_t n = std::min<std::size_t>(count - done, kBlock);
    history.resize(done + n);
    file.readExact(history.data() + done, n * sizeof(TinfosRec));
    for (std::size_t i = done, end = std::min(done + n, examined);
         firstEmpty == examined && i < end; ++i) {
      if (history[i].Date == 0.0) {
        firstEmpty = i;
      }
    }
    done += n;
    reading.read(done);
  }
  return firstEmpty;
}

struct RecordsRead {
  std::uint32_t count = 0;
  std::size_t firstEmpty = 0;
};

// Step 4 of the load: everything after a valid tag.
RecordsRead ReadRecords(RawFile& file, const HistoryLayout& layout, TTinfosRec& history,
                        const LoadProgress& progress) {
  const std::uint32_t count = ReadRecordCount(file, layout);
  MakeRoom(history, count);
  if (layout.tag == kTinfosRecTag) {
    return {count, ReadCurrentRecords(file, count, history, progress)};
  }
  history.resize(count);
  switch (layout.tag) {
    case kTinfosRecRozEzaTag:
      ReadOlderRecords<TinfosRecRozEza>(file, count, history, progress);
      break;
    case kTinfosRecCorvoTag:
      ReadOlderRecords<TinfosRecCorvo>(file, count, history, progress);
      break;
  }
  return {count, 0};
}

// The clean-up pass from first on, the records before it known to be kept.
void CleanUpFrom(TTinfosRec& history, std::size_t first, const LoadProgress& progress) {
  const std::size_t n = history.size();
  const std::size_t examined = ExaminedCount(n);
  if (first >= examined) {
    return;
  }
  DeletionProgress report(progress);
  std::size_t kept = first;
  std::size_t deleted = 0;
  for (std::size_t i = first; i < examined; ++i) {
    if (history[i].Date == 0.0) {
      ++deleted;
      // Where the record stood when it was removed: after the records kept so far.
      report.deleted(kept, deleted);
      continue;
    }
    history[kept++] = history[i];
  }
  for (std::size_t i = examined; i < n; ++i) {
    history[kept++] = history[i];
  }
  history.resize(kept);
  report.finish();
}

}  // namespace

void LoadHistory(const std::filesystem::path& fileName, std::span<const std::uint32_t> acceptedTags,
                 TTinfosRec& history, const LoadProgress& progress,
                 std::optional<LoadedFile>* read) {
  std::error_code ignored;
  if (!std::filesystem::exists(fileName, ignored)) {
    return;
  }
  RawFile file = RawFile::OpenForReading(fileName);
  const HistoryLayout& layout = ReadHistoryTag(file, fileName, acceptedTags);
  RecordsRead records;
  try {
    records = ReadRecords(file, layout, history, progress);
  } catch (const std::exception& e) {
    throw Exception(kReadErrorPrefix + std::string(e.what()));
  }
  WriteLog("Data loaded : DatasVesk.bin,  points number : " + std::to_string(records.count));
  if (progress) {
    progress("Sort points...");
  }
  if (!history.empty()) {
    CleanUpFrom(history, records.firstEmpty, progress);
    WriteLog("Data sorted, number of points : " + std::to_string(history.size()));
  }
  if (read != nullptr) {
    *read = LoadedFile{file.identity(), records.count};
  }
}

void CleanUpHistory(TTinfosRec& history, const LoadProgress& progress) {
  const std::size_t examined = ExaminedCount(history.size());
  std::size_t first = 0;
  while (first < examined && history[first].Date != 0.0) {
    ++first;
  }
  CleanUpFrom(history, first, progress);
}

}  // namespace vesk
