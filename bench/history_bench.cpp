// History file and CSV figures, each beside a baseline measured in the same run:
// reading the file as `cat FILE > /dev/null` does for the load, `cp` for the save.
// Run: build/bin/bench_history (Release or RelWithDebInfo build). The ten-year figures
// (BM_TenYears_*) generate a ten-year history file and its ".back" copy once per run in a
// temporary folder (about 5 GB of disk, 8 GB of memory at most), removed at exit; leave them
// out with --benchmark_filter=-TenYears. docs/PERFORMANCE.md has the figures.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_folder.h"
#include "bench/bench_timing.h"
#include "common/datetime.h"
#include "common/event_log.h"
#include "common/number_text.h"
#include "history/csv_export.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "history/history_store.h"
#include "history/history_write.h"
#include "history/synthetic_history.h"

namespace vesk {
namespace {

using bench::CpuSeconds;
using bench::Median;

constexpr std::size_t kOneYearAt10s = 365 * 8640;           // 3 153 600 records
constexpr std::size_t kTenYearsAt10s = 10 * kOneYearAt10s;  // 31 536 000 records, 2.5 GB
constexpr std::size_t kCsvRecords = 1'000'000;
constexpr std::size_t kNewRecords = 90;  // 15 minutes at the 10 s period

// One folder for the whole run with a one-year history written once, removed at exit.
struct BenchFiles {
  BenchFiles() {
    folder = bench::MakeRunFolder("vesk-bench");
    InitLog(folder);
    year = GenerateHistory(45000.0, kOneYearAt10s, 10.0);
    WriteHistoryFile(folder / kHistoryFileName, year);
  }
  ~BenchFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::filesystem::path history() const { return folder / kHistoryFileName; }

  std::filesystem::path folder;
  TTinfosRec year;
};

BenchFiles& Files() {
  static BenchFiles files;
  return files;
}

// A program folder with a history file of count records and its ".back" copy one save
// (kNewRecords) behind, written block by block as they are generated, then loaded by the
// folder's store as the monitor's start does: its saves then append.
struct ProgramFolder {
  ProgramFolder(const std::filesystem::path& path, std::size_t count) : folder(path) {
    std::filesystem::create_directories(folder);
    WriteGenerated(count);
    store = std::make_unique<HistoryStore>(folder);
    store->LoadHistoryAtStart(Datas);
    if (Datas.size() != count) {
      std::abort();
    }
  }

  void WriteGenerated(std::size_t count) {
    const std::uint32_t backupCount = static_cast<std::uint32_t>(count - kNewRecords);
    const std::uint32_t fileCount = static_cast<std::uint32_t>(count);
    std::ofstream file(folder / kHistoryFileName, std::ios::binary);
    std::ofstream backup(folder / (std::string(kHistoryFileName) + kBackupSuffix),
                         std::ios::binary);
    const std::uint32_t fileHeader[2] = {kTinfosRecTag, fileCount};
    const std::uint32_t backupHeader[2] = {kTinfosRecTag, backupCount};
    file.write(reinterpret_cast<const char*>(fileHeader), sizeof fileHeader);
    backup.write(reinterpret_cast<const char*>(backupHeader), sizeof backupHeader);
    constexpr std::size_t kBlock = 1 << 20;
    for (std::size_t done = 0; done < count; done += kBlock) {
      const std::size_t n = std::min(kBlock, count - done);
      const TTinfosRec block = GenerateHistory(40000.0 + static_cast<double>(done) / 8640.0, n,
                                               10.0, static_cast<unsigned>(done / kBlock + 1));
      file.write(reinterpret_cast<const char*>(block.data()),
                 static_cast<std::streamsize>(n * sizeof(TinfosRec)));
      const std::size_t forBackup = done >= backupCount ? 0 : std::min(n, backupCount - done);
      backup.write(reinterpret_cast<const char*>(block.data()),
                   static_cast<std::streamsize>(forBackup * sizeof(TinfosRec)));
    }
    file.close();
    backup.close();
    if (!file || !backup) {
      std::abort();
    }
    // On the disk before any save is timed: a save's flush would otherwise write them.
    for (const auto& name : {history(), folder / (std::string(kHistoryFileName) + kBackupSuffix)}) {
      const int fd = ::open(name.c_str(), O_RDONLY);
      ::fsync(fd);
      ::close(fd);
    }
  }

  std::filesystem::path history() const { return folder / kHistoryFileName; }

  // A periodic save with kNewRecords new polls; returns its time in seconds.
  double SaveNewRecords() {
    for (std::size_t i = 0; i < kNewRecords; ++i) {
      TinfosRec rec = Datas.back();
      rec.Date += 10.0 / 86400.0;
      rec.TempExt += 0.01;
      Datas.push_back(rec);
    }
    const auto start = std::chrono::steady_clock::now();
    store->SaveHistory(Datas, kHistoryFileName);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  // One poll's record appended as the station appends it, flushed or not; its time in
  // seconds.
  double AppendOnePoll(bool flush) {
    TinfosRec rec = Datas.back();
    rec.Date += 10.0 / 86400.0;
    rec.TempExt += 0.01;
    Datas.push_back(rec);
    store->SetAppendFlush(flush);
    const auto start = std::chrono::steady_clock::now();
    const bool appended = store->AppendNewRecords(Datas);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    store->SetAppendFlush(true);
    if (!appended) {
      std::abort();
    }
    return seconds;
  }

  std::filesystem::path folder;
  TTinfosRec Datas;
  std::unique_ptr<HistoryStore> store;
};

ProgramFolder& OneYearFolder() {
  static ProgramFolder folder(Files().folder / "one-year", kOneYearAt10s);
  return folder;
}

ProgramFolder& TenYearsFolder() {
  static ProgramFolder folder(Files().folder / "ten-years", kTenYearsAt10s);
  return folder;
}

// The process's resident memory and its peak, in bytes, from /proc/self/status.
std::optional<std::uint64_t> StatusBytes(const std::string& field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.starts_with(field + ":")) {
      return std::stoull(line.substr(field.size() + 1)) * 1024;
    }
  }
  return std::nullopt;
}

// Sets the peak to the present resident memory (Linux 4.0 and later).
bool ResetPeakMemory() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  out.flush();
  return static_cast<bool>(out);
}

// The least a load into new memory costs beyond reading: the kernel gives every new page
// zero-filled, which here costs more than the copy itself. Memory of the given size, asked
// to be backed by huge pages as the load does, written once and given back.
double FreshMemorySeconds(std::size_t bytes) {
  const auto start = std::chrono::steady_clock::now();
  std::unique_ptr<char[]> memory(new char[bytes]);
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(memory.get());
  const auto first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  if (begin + bytes >= first + kHugePage) {
    ::madvise(reinterpret_cast<void*>(first), (begin + bytes - first) & ~(kHugePage - 1),
              MADV_HUGEPAGE);
  }
  std::memset(memory.get(), 0, bytes);
  benchmark::DoNotOptimize(memory.get());
  memory.reset();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Drops the file's pages from the page cache, so that the next read comes from the disk as
// after a restart of the machine (the pages are clean: the file was flushed).
void EvictFromCache(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

double CatSeconds(const std::filesystem::path& file) {
  std::vector<char> buffer(128 * 1024);
  const auto start = std::chrono::steady_clock::now();
  const int fd = ::open(file.c_str(), O_RDONLY);
  std::size_t total = 0;
  ssize_t got;
  while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) {
    total += static_cast<std::size_t>(got);
  }
  ::close(fd);
  benchmark::DoNotOptimize(total);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void SetBytes(benchmark::State& state, std::uint64_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// cat FILE > /dev/null: read() into a buffer until the end.
void BM_Load_BaselineCat(benchmark::State& state) {
  const auto file = Files().history();
  for (auto _ : state) {
    CatSeconds(file);
  }
  SetBytes(state, std::filesystem::file_size(file));
}

// The same read into a fresh buffer of the file's size, as a load must: the cost of the
// memory itself, without any record handling.
void BM_Load_BaselineReadIntoMemory(benchmark::State& state) {
  const auto file = Files().history();
  const std::size_t size = std::filesystem::file_size(file);
  for (auto _ : state) {
    std::unique_ptr<char[]> buffer(new char[size]);
    const int fd = ::open(file.c_str(), O_RDONLY);
    std::size_t total = 0;
    ssize_t got;
    while ((got = ::read(fd, buffer.get() + total, size - total)) > 0) {
      total += static_cast<std::size_t>(got);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buffer.get());
  }
  SetBytes(state, size);
}

void BM_Load_LoadHistory(benchmark::State& state) {
  const auto file = Files().history();
  for (auto _ : state) {
    TTinfosRec history;
    LoadHistory(file, kCurrentHistoryTag, history);
    benchmark::DoNotOptimize(history.data());
  }
  SetBytes(state, std::filesystem::file_size(file));
}

// cp FILE COPY (copy_file takes the same kernel copy path as cp).
void BM_Save_BaselineCp(benchmark::State& state) {
  const auto file = Files().history();
  const auto copy = Files().folder / "copy.bin";
  for (auto _ : state) {
    std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
  }
  SetBytes(state, std::filesystem::file_size(file));
}

// cp FILE COPY && sync COPY: the same copy, flushed to the disk as a save is.
void BM_Save_BaselineCpSync(benchmark::State& state) {
  const auto file = Files().history();
  const auto copy = Files().folder / "copy.bin";
  for (auto _ : state) {
    std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
    const int fd = ::open(copy.c_str(), O_RDONLY);
    ::fsync(fd);
    ::close(fd);
  }
  SetBytes(state, std::filesystem::file_size(file));
}

// A save that writes the whole one-year file again (the history is not the file plus newer
// records: its first record changes each time): new file written and flushed, previous one
// kept as ".back". What every save cost before saves appended.
void BM_Save_FullRewrite(benchmark::State& state) {
  HistoryStore store(Files().folder / "save");
  std::filesystem::create_directories(store.ChemExec());
  TTinfosRec history = Files().year;
  store.SaveHistory(history, kHistoryFileName);
  for (auto _ : state) {
    history.front().TempExt += 0.01;
    store.SaveHistory(history, kHistoryFileName);
  }
  SetBytes(state, kHistoryHeaderSize + Files().year.size() * sizeof(TinfosRec));
}

// The periodic save with 90 new records (15 minutes of polls) on a one-year history.
void BM_Save_Append90_OneYear(benchmark::State& state) {
  ProgramFolder& folder = OneYearFolder();
  for (auto _ : state) {
    state.SetIterationTime(folder.SaveNewRecords());
  }
}

// The same on one-year and ten-year histories, one after the other in each iteration: the
// ratio of their times says whether the save grows with the history. Medians, since a
// save is mostly its four flushes, which other writers on the disk delay now and then.
void BM_TenYears_SaveAppend90_VsOneYear(benchmark::State& state) {
  ProgramFolder& one = OneYearFolder();
  ProgramFolder& ten = TenYearsFolder();
  std::vector<double> oneTimes;
  std::vector<double> tenTimes;
  for (auto _ : state) {
    oneTimes.push_back(one.SaveNewRecords());
    tenTimes.push_back(ten.SaveNewRecords());
    state.SetIterationTime(tenTimes.back());
  }
  state.counters["one_year_ms"] = 1000.0 * Median(oneTimes);
  state.counters["ten_years_ms"] = 1000.0 * Median(tenTimes);
  state.counters["ten_over_one"] = Median(tenTimes) / Median(oneTimes);
}

// One poll's durable append (its record flushed, then the count flushed) against the same
// append without the flushes, one after the other in each iteration: what the station pays
// per poll so that a crash loses no reading. Medians.
void PollAppendFigures(benchmark::State& state, ProgramFolder& folder) {
  // Room for the iterations' records: a reallocation would copy the history in between.
  folder.Datas.reserve(folder.Datas.size() + 4096);
  std::vector<double> durable;
  std::vector<double> unflushed;
  for (auto _ : state) {
    durable.push_back(folder.AppendOnePoll(true));
    unflushed.push_back(folder.AppendOnePoll(false));
    state.SetIterationTime(durable.back());
  }
  state.counters["durable_ms"] = 1000.0 * Median(durable);
  state.counters["unflushed_ms"] = 1000.0 * Median(unflushed);
  state.counters["durable_over_unflushed"] = Median(durable) / Median(unflushed);
}

void BM_PollAppend_OneYear_DurableVsUnflushed(benchmark::State& state) {
  PollAppendFigures(state, OneYearFolder());
}

// The same on the ten-year history: the append does not grow with the history.
void BM_TenYears_PollAppend_DurableVsUnflushed(benchmark::State& state) {
  PollAppendFigures(state, TenYearsFolder());
}

// The start-up load of the ten-year file against `cat` of it, one after the other in each
// iteration (the file in the page cache for both), and the load's peak memory over the
// memory resident before it. Medians of the elapsed and of the processor times.
void BM_TenYears_LoadVsCat(benchmark::State& state) {
  const std::filesystem::path file = TenYearsFolder().history();
  const double fileBytes = static_cast<double>(std::filesystem::file_size(file));
  std::vector<double> cat;
  std::vector<double> load;
  std::vector<double> catCpu;
  std::vector<double> loadCpu;
  std::vector<double> fresh;
  double peakMax = 0.0;
  for (auto _ : state) {
    const double cpu0 = CpuSeconds();
    cat.push_back(CatSeconds(file));
    catCpu.push_back(CpuSeconds() - cpu0);
    // Before the load one time, after it the next: memory given back is cheaper to take again.
    const bool freshFirst = cat.size() % 2 == 1;
    if (freshFirst) {
      fresh.push_back(FreshMemorySeconds(static_cast<std::size_t>(fileBytes)));
    }
    const bool peakKnown = ResetPeakMemory();
    const std::optional<std::uint64_t> before = StatusBytes("VmRSS");
    const double cpu1 = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    {
      TTinfosRec history;
      LoadHistory(file, kCurrentHistoryTag, history);
      load.push_back(
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      loadCpu.push_back(CpuSeconds() - cpu1);
      state.SetIterationTime(load.back());
      const std::optional<std::uint64_t> peak = StatusBytes("VmHWM");
      if (peakKnown && before && peak) {
        peakMax = std::max(peakMax, static_cast<double>(*peak - *before));
      }
      benchmark::DoNotOptimize(history.data());
    }
    if (!freshFirst) {
      fresh.push_back(FreshMemorySeconds(static_cast<std::size_t>(fileBytes)));
    }
  }
  state.counters["cat_ms"] = 1000.0 * Median(cat);
  state.counters["load_ms"] = 1000.0 * Median(load);
  state.counters["load_over_cat"] = Median(load) / Median(cat);
  state.counters["fresh_memory_ms"] = 1000.0 * Median(fresh);
  state.counters["load_over_cat_and_fresh_memory"] = Median(load) / (Median(cat) + Median(fresh));
  state.counters["cat_cpu_ms"] = 1000.0 * Median(catCpu);
  state.counters["load_cpu_ms"] = 1000.0 * Median(loadCpu);
  state.counters["cpu_load_over_cat"] = Median(loadCpu) / Median(catCpu);
  state.counters["file_MB"] = fileBytes / 1e6;
  state.counters["peak_MB"] = peakMax / 1e6;
  state.counters["peak_over_file"] = peakMax / fileBytes;
}

// The same from the disk: the file's pages dropped from the page cache before each read.
void BM_TenYears_ColdLoadVsCat(benchmark::State& state) {
  const std::filesystem::path file = TenYearsFolder().history();
  std::vector<double> cat;
  std::vector<double> load;
  for (auto _ : state) {
    EvictFromCache(file);
    cat.push_back(CatSeconds(file));
    EvictFromCache(file);
    const auto start = std::chrono::steady_clock::now();
    {
      TTinfosRec history;
      LoadHistory(file, kCurrentHistoryTag, history);
      load.push_back(
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      state.SetIterationTime(load.back());
      benchmark::DoNotOptimize(history.data());
    }
  }
  state.counters["cat_ms"] = 1000.0 * Median(cat);
  state.counters["load_ms"] = 1000.0 * Median(load);
  state.counters["load_over_cat"] = Median(load) / Median(cat);
}

void BM_Csv_ExportCsv(benchmark::State& state) {
  const TTinfosRec history(Files().year.begin(), Files().year.begin() + kCsvRecords);
  const auto out = Files().folder / "export.csv";
  std::uintmax_t size = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(out);
    state.ResumeTiming();
    if (ExportCsv(history, out)) {
      state.SkipWithError("export failed");
    }
  }
  size = std::filesystem::file_size(out);
  SetBytes(state, size);
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(kCsvRecords),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

// Writing the bytes of that CSV file, already formatted, in 1 MiB blocks.
void BM_Csv_BaselineWrite(benchmark::State& state) {
  const auto out = Files().folder / "export.csv";
  if (!std::filesystem::exists(out)) {
    ExportCsv(TTinfosRec(Files().year.begin(), Files().year.begin() + kCsvRecords), out);
  }
  std::ifstream in(out, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto copy = Files().folder / "written.csv";
  for (auto _ : state) {
    const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (std::size_t done = 0; done < bytes.size();) {
      const std::size_t block = std::min<std::size_t>(bytes.size() - done, 1 << 20);
      done += static_cast<std::size_t>(::write(fd, bytes.data() + done, block));
    }
    ::close(fd);
  }
  SetBytes(state, bytes.size());
}

// The same lines through FormatText and the date-time text, one printf per record.
void BM_Csv_FormatTextReference(benchmark::State& state) {
  const TTinfosRec history(Files().year.begin(), Files().year.begin() + kCsvRecords);
  for (auto _ : state) {
    std::size_t total = 0;
    for (const auto& r : history) {
      total += FormatText("%1.5f;%s;%1.1f;%1.1f;%1.1f;%1.1f;%1.0f;%s;%1.1f;%1.1f;%1.0f;", r.Date,
                          DateTimeToText(r.Date).c_str(), r.TempExt, r.TempInt, r.TempHot, r.RHInt,
                          r.RHExt, YesNoLetter(r.ActiveHeater), r.Pressure, r.WindSpeed, r.Windir)
                   .size();
    }
    benchmark::DoNotOptimize(total);
  }
}

BENCHMARK(BM_Load_BaselineCat)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Load_BaselineReadIntoMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Load_LoadHistory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Save_BaselineCp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Save_BaselineCpSync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Save_FullRewrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Save_Append90_OneYear)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_TenYears_SaveAppend90_VsOneYear)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(40);
BENCHMARK(BM_PollAppend_OneYear_DurableVsUnflushed)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(200);
BENCHMARK(BM_TenYears_PollAppend_DurableVsUnflushed)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(200);
BENCHMARK(BM_TenYears_LoadVsCat)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(7);
BENCHMARK(BM_TenYears_ColdLoadVsCat)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_Csv_BaselineWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Csv_ExportCsv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Csv_FormatTextReference)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
