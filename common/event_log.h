#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "common/datetime.h"

namespace vesk {

// Receives every finished log line, in the order the lines were written to the file,
// from whichever thread wrote them. The window installs one that shows the line.
using LogHandOver = std::function<void(const std::string& line)>;

// Fixes the log file once per run: folder/"Log_" + a random number + ".txt".
void InitLog(const std::filesystem::path& folder);

// Told, from the thread that wrote the line, when the log file stops taking lines (with the
// reason) and again when it takes them again (with how many were dropped meanwhile). The
// window shows it in its status bar, serve on standard error.
using LogTroubleListener = std::function<void(const std::string& text, bool failing)>;

// Appends one time-stamped line to the log file (opened and closed for the line) and hands
// it over. Callable from any thread; never raises: the station runs on when its log cannot
// be written (a full disk), so a line the file refuses is counted, dropped from the file
// and still handed over. A failure of the hand-over is swallowed.
void WriteLog(std::string_view text);

void SetLogHandOver(LogHandOver handOver);
void SetLogTroubleListener(LogTroubleListener listener);

// Lines the file refused since the log was set.
unsigned long long DroppedLogLines();

std::filesystem::path LogFilePath();

// "2026/01/18  09:05:03.042 : text"
std::string LogLine(TDateTime when, std::string_view text);

}  // namespace vesk
