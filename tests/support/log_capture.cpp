#include "tests/support/log_capture.h"

#include <fstream>

#include "common/event_log.h"

namespace vesk::test {

LogCapture::LogCapture(const std::filesystem::path& folder) {
  InitLog(folder);
  SetLogHandOver([this](const std::string& line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(line);
  });
}

LogCapture::~LogCapture() {
  SetLogHandOver(nullptr);
}

std::vector<std::string> LogCapture::lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

std::vector<std::string> LogCapture::texts() const {
  std::vector<std::string> texts;
  for (const auto& line : lines()) {
    texts.push_back(LogText(line));
  }
  return texts;
}

std::string LogText(const std::string& line) {
  const auto separator = line.find(" : ");
  return separator == std::string::npos ? line : line.substr(separator + 3);
}

namespace {

void AppendTexts(const std::filesystem::path& file, std::vector<std::string>& texts) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (!line.empty()) {
      texts.push_back(LogText(line));
    }
  }
}

}  // namespace

std::vector<std::string> LogFileTexts() {
  std::vector<std::string> texts;
  AppendTexts(LogFilePath(), texts);
  return texts;
}

std::vector<std::string> LogFolderTexts(const std::filesystem::path& folder) {
  std::vector<std::string> texts;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    AppendTexts(entry.path(), texts);
  }
  return texts;
}

}  // namespace vesk::test
