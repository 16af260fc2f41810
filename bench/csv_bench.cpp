// The CSV export of one million records against bench/csv_export_reference.py, a plain Python
// struct + csv script that converts the same history file to the same CSV, one after the other
// in each iteration. The run fails when the two files differ by a byte.
// Run: build/bin/bench_csv. docs/PERFORMANCE.md has the figures.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_folder.h"
#include "bench/bench_timing.h"
#include "common/event_log.h"
#include "history/csv_export.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "history/history_write.h"
#include "history/synthetic_history.h"

extern char** environ;

namespace vesk {
namespace {

using bench::CpuSeconds;
using bench::Median;
using bench::SecondsSince;

constexpr std::size_t kRecords = 1'000'000;

// A history file of a million records at 10 s, written once for the run, removed at exit.
struct CsvFiles {
  CsvFiles() {
    folder = bench::MakeRunFolder("vesk-csv");
    InitLog(folder);  // the load writes its lines there
    history = folder / "DatasVesk.bin";
    program = folder / "program.csv";
    python = folder / "python.csv";
    WriteHistoryFile(history, GenerateHistory(45000.0, kRecords, 10.0));
  }
  ~CsvFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  std::filesystem::path folder;
  std::filesystem::path history;
  std::filesystem::path program;
  std::filesystem::path python;
};

struct ChildTimes {
  double elapsed = 0.0;
  double cpu = 0.0;  // user and system time of the child
};

// python3 csv_export_reference.py IN OUT, waited for; nothing when it did not end with 0.
std::optional<ChildTimes> RunReference(const std::filesystem::path& in,
                                       const std::filesystem::path& out) {
  std::vector<std::string> args = {VESK_BENCH_PYTHON, VESK_CSV_REFERENCE, in.string(),
                                   out.string()};
  std::vector<char*> argv;
  for (auto& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    return std::nullopt;
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return std::nullopt;
  }
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return ChildTimes{SecondsSince(start), seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Where the two files first differ; nothing when they are the same.
std::optional<std::size_t> FirstDifference(const std::filesystem::path& a,
                                           const std::filesystem::path& b) {
  const std::string left = ReadAll(a);
  const std::string right = ReadAll(b);
  const auto [l, r] = std::mismatch(left.begin(), left.end(), right.begin(), right.end());
  if (l == left.end() && r == right.end()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(l - left.begin());
}

// Each iteration: ExportCsv of the records in memory, the whole conversion as
// `vesk-cli history export` does it (load, then export), and the Python script on the file.
// Medians of the elapsed and of the processor times; the time reported is the export's.
void BM_Csv_ExportVsPython(benchmark::State& state) {
  static CsvFiles files;
  TTinfosRec records;
  LoadHistory(files.history, kAllHistoryTags, records);
  std::vector<double> exportTimes, exportCpu, conversionTimes, pythonTimes, pythonCpu;
  for (auto _ : state) {
    std::filesystem::remove(files.program);
    double cpu = CpuSeconds();
    auto start = std::chrono::steady_clock::now();
    if (ExportCsv(records, files.program)) {
      state.SkipWithError("ExportCsv failed");
      return;
    }
    exportTimes.push_back(SecondsSince(start));
    exportCpu.push_back(CpuSeconds() - cpu);
    state.SetIterationTime(exportTimes.back());

    std::filesystem::remove(files.program);
    start = std::chrono::steady_clock::now();
    {
      TTinfosRec loaded;
      LoadHistory(files.history, kAllHistoryTags, loaded);
      ExportCsv(loaded, files.program);
    }
    conversionTimes.push_back(SecondsSince(start));

    std::filesystem::remove(files.python);
    const auto python = RunReference(files.history, files.python);
    if (!python) {
      state.SkipWithError("the Python script failed");
      return;
    }
    pythonTimes.push_back(python->elapsed);
    pythonCpu.push_back(python->cpu);
  }
  if (const auto at = FirstDifference(files.program, files.python)) {
    state.SkipWithError(
        ("the Python CSV differs from ExportCsv's at byte " + std::to_string(*at)).c_str());
    return;
  }
  state.counters["export_ms"] = 1000.0 * Median(exportTimes);
  state.counters["load_and_export_ms"] = 1000.0 * Median(conversionTimes);
  state.counters["python_ms"] = 1000.0 * Median(pythonTimes);
  state.counters["export_cpu_ms"] = 1000.0 * Median(exportCpu);
  state.counters["python_cpu_ms"] = 1000.0 * Median(pythonCpu);
  state.counters["python_over_export"] = Median(pythonTimes) / Median(exportTimes);
  state.counters["python_over_load_and_export"] = Median(pythonTimes) / Median(conversionTimes);
  state.counters["python_cpu_over_export_cpu"] = Median(pythonCpu) / Median(exportCpu);
  state.counters["csv_MB"] = static_cast<double>(std::filesystem::file_size(files.program)) / 1e6;
}

BENCHMARK(BM_Csv_ExportVsPython)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
