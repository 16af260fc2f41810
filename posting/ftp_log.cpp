#include "posting/ftp_log.h"

#include <cstdio>
#include <mutex>

namespace vesk {
namespace {

// Lines of two loaders in one process never mix within a line.
std::mutex ftpLogFile;

}  // namespace

std::string FtpLogLine(TDateTime when, const std::string& text) {
  const int tenths = DecodeDateTime(when).millisecond / 100;
  return DateTimeToText(when) + "." + std::to_string(tenths) + " : " + " -> " + text;
}

void AppendFtpLog(const std::filesystem::path& folder, const std::string& line) {
  const std::lock_guard lock(ftpLogFile);
  std::FILE* file = std::fopen((folder / kFtpLogFileName).string().c_str(), "ab");
  if (file == nullptr) {
    return;
  }
  const std::string withEnd = line + "\r\n";
  std::fwrite(withEnd.data(), 1, withEnd.size(), file);
  std::fclose(file);
}

}  // namespace vesk
