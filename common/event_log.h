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

// Appends one time-stamped line to the log file (opened and closed for the line) and hands
// it over. Callable from any thread. A file failure raises EInOutError and the line is
// not handed over; a failure of the hand-over is swallowed.
void WriteLog(std::string_view text);

void SetLogHandOver(LogHandOver handOver);

std::filesystem::path LogFilePath();

// "2026/01/18  09:05:03.042 : text"
std::string LogLine(TDateTime when, std::string_view text);

}  // namespace vesk
