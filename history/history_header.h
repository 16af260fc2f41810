#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "history/history_format.h"
#include "history/raw_file.h"

namespace vesk {

// The two steps of reading a history file's header, shared by the load and the file
// summary so that both fail with the same messages.

// Reads the tag. A file too short for one raises the file layer's "Read beyond end of file";
// a tag not accepted raises fileName + " does not have the correct format !".
const HistoryLayout& ReadHistoryTag(RawFile& file, const std::filesystem::path& fileName,
                                    std::span<const std::uint32_t> acceptedTags);

// Reads the record count and checks it against the size of the file before anything is
// allocated for it. Callers prefix the messages with "Error while reading file : ".
std::uint32_t ReadRecordCount(RawFile& file, const HistoryLayout& layout);

inline constexpr const char* kReadErrorPrefix = "Error while reading file : ";

}  // namespace vesk
