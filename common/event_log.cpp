#include "common/event_log.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>

#include "common/exceptions.h"
#include "common/number_text.h"

namespace vesk {
namespace {

struct LogState {
  // Guards the file and the hand-over together, so the window sees the lines in file order.
  std::mutex LogFileSection;
  std::filesystem::path folder;
  // "Log_" + a random number + ".txt", fixed once per run.
  std::string LogFileName;
  LogHandOver handOver;
  LogTroubleListener troubleListener;
  unsigned long long dropped = 0;
  // Lines dropped since the file last took one: the trouble is reported once.
  unsigned long long droppedInARow = 0;

  std::filesystem::path path() const { return folder / LogFileName; }
};

LogState& State() {
  static LogState state;
  return state;
}

void AppendLogFile(const std::filesystem::path& path, const std::string& line) {
#ifdef _WIN32
  std::FILE* file = _wfopen(path.c_str(), L"ab");
#else
  std::FILE* file = std::fopen(path.c_str(), "ab");
#endif
  if (file == nullptr) {
    throw EInOutError("I/O error: cannot open " + path.string());
  }
  const std::string withEnd = line + "\r\n";
  const bool written = std::fwrite(withEnd.data(), 1, withEnd.size(), file) == withEnd.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    throw EInOutError("I/O error: cannot write " + path.string());
  }
}

}  // namespace

void InitLog(const std::filesystem::path& folder) {
  std::mt19937 random(
      static_cast<unsigned>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  std::uniform_int_distribution<long> draw(0, 2147483646);
  std::lock_guard lock(State().LogFileSection);
  State().folder = folder;
  State().LogFileName = "Log_" + std::to_string(draw(random)) + ".txt";
  State().dropped = 0;
  State().droppedInARow = 0;
}

void SetLogHandOver(LogHandOver handOver) {
  std::lock_guard lock(State().LogFileSection);
  State().handOver = std::move(handOver);
}

void SetLogTroubleListener(LogTroubleListener listener) {
  std::lock_guard lock(State().LogFileSection);
  State().troubleListener = std::move(listener);
}

unsigned long long DroppedLogLines() {
  std::lock_guard lock(State().LogFileSection);
  return State().dropped;
}

std::filesystem::path LogFilePath() {
  std::lock_guard lock(State().LogFileSection);
  return State().path();
}

std::string LogLine(TDateTime when, std::string_view text) {
  const DateTimeParts t = DecodeDateTime(when);
  return FormatText("%d/%02d/%02d  %02d:%02d:%02d.%03d : ", t.year, t.month, t.day, t.hour,
                    t.minute, t.second, t.millisecond) +
         std::string(text);
}

void WriteLog(std::string_view text) {
  const std::string line = LogLine(Now(), text);
  LogState& state = State();
  std::lock_guard lock(state.LogFileSection);
  std::string trouble;
  bool failing = false;
  try {
    if (state.LogFileName.empty()) {
      throw EInOutError("I/O error: the log file is not set");
    }
    AppendLogFile(state.path(), line);
    if (state.droppedInARow > 0) {
      trouble = "The log file is written again; " + std::to_string(state.droppedInARow) +
                " line(s) could not be written to it";
      state.droppedInARow = 0;
    }
  } catch (const std::exception& e) {
    ++state.dropped;
    failing = true;
    if (state.droppedInARow++ == 0) {
      trouble = std::string("The log file cannot be written, its lines are dropped: ") + e.what();
    }
  }
  if (!trouble.empty() && state.troubleListener) {
    try {
      state.troubleListener(trouble, failing);
    } catch (...) {
      // Only its report is lost.
    }
  }
  if (state.handOver) {
    try {
      state.handOver(line);
    } catch (...) {
      // The line is in the file; only its display is lost.
    }
  }
}

}  // namespace vesk
