// History file and CSV figures, each beside a baseline measured in the same run:
// reading the file as `cat FILE > /dev/null` does for the load, `cp` for the save.
// Run: build/bin/bench_history (Release or RelWithDebInfo build).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

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

constexpr std::size_t kOneYearAt10s = 365 * 8640;  // 3 153 600 records
constexpr std::size_t kCsvRecords = 1'000'000;

// One folder for the whole run with a one-year history written once, removed at exit.
struct BenchFiles {
  BenchFiles() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vesk-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::abort();
    }
    folder = pattern;
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

void SetBytes(benchmark::State& state, std::uint64_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// cat FILE > /dev/null: read() into a buffer until the end.
void BM_Load_BaselineCat(benchmark::State& state) {
  const auto file = Files().history();
  std::vector<char> buffer(128 * 1024);
  for (auto _ : state) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    std::size_t total = 0;
    ssize_t got;
    while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) {
      total += static_cast<std::size_t>(got);
    }
    ::close(fd);
    benchmark::DoNotOptimize(total);
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

// The periodic save: new file written and flushed, previous one kept as ".back".
void BM_Save_SaveHistory(benchmark::State& state) {
  HistoryStore store(Files().folder / "save");
  std::filesystem::create_directories(store.ChemExec());
  store.SaveHistory(Files().year, kHistoryFileName);
  for (auto _ : state) {
    store.SaveHistory(Files().year, kHistoryFileName);
  }
  SetBytes(state, kHistoryHeaderSize + Files().year.size() * sizeof(TinfosRec));
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
BENCHMARK(BM_Save_SaveHistory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Csv_BaselineWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Csv_ExportCsv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Csv_FormatTextReference)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
