#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace vesk::test {

// Points the event log at a folder and keeps every handed-over line; the text of each
// line (after the time stamp) is what tests compare.
class LogCapture {
 public:
  explicit LogCapture(const std::filesystem::path& folder);
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::string> lines() const;
  // The lines without their time stamp.
  std::vector<std::string> texts() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

// "2026/01/18  09:05:03.042 : text" -> "text"
std::string LogText(const std::string& line);

// The texts of every line of the current log file, in file order.
std::vector<std::string> LogFileTexts();

// The texts of every line of every file in a folder of logs (a program's --log-folder).
std::vector<std::string> LogFolderTexts(const std::filesystem::path& folder);

}  // namespace vesk::test
