#pragma once

#include <cstdint>
#include <filesystem>

#include "common/datetime.h"
#include "history/history_format.h"

namespace vesk {

// What a history file holds, read from its header and its first and last records only.
struct HistoryInfo {
  const HistoryLayout* layout = nullptr;
  std::uint32_t count = 0;
  std::uint64_t fileSize = 0;
  TDateTime firstDate = 0.0;  // 0.0 when there is no record
  TDateTime lastDate = 0.0;
};

// Accepts all three layouts. Fails with the messages of LoadHistory, and with the file
// layer's message when the file cannot be opened (a missing file included).
HistoryInfo ReadHistoryInfo(const std::filesystem::path& fileName);

}  // namespace vesk
