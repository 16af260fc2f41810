#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/event_log.h"

namespace vesk::fuzz {

// One folder per fuzzing process for the files a target reads and the log lines the code
// writes; the log file is dropped after every input so it never grows.
inline const std::filesystem::path& FuzzFolder() {
  static const std::filesystem::path folder = [] {
    auto path =
        std::filesystem::temp_directory_path() / ("vesk-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    InitLog(path);
    return path;
  }();
  return folder;
}

inline void WriteInput(const std::filesystem::path& path, const std::uint8_t* data,
                       std::size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline void DropLog() {
  std::error_code ignored;
  std::filesystem::remove(LogFilePath(), ignored);
}

}  // namespace vesk::fuzz
