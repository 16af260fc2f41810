#pragma once

#include <filesystem>
#include <functional>

#include "history/tinfos_rec.h"

namespace vesk {

// Writes a complete history file (current tag, count, records) to file, creating or
// truncating it, and flushes it to the disk. On failure the partial file is removed and
// EInOutError carries the file layer's message.
void WriteHistoryRecords(const std::filesystem::path& file, const TTinfosRec& history);

// The temporary name a history file is written under before it replaces path.
std::filesystem::path TemporaryFileFor(const std::filesystem::path& path);

// Writes path so that a crash at any moment leaves either the previous file or the new
// one: a temporary file in the same folder, flushed, then renamed over path.
// beforeReplace runs once the new content is safely on disk, just before the rename.
void WriteHistoryFile(const std::filesystem::path& path, const TTinfosRec& history,
                      const std::function<void()>& beforeReplace = {});

}  // namespace vesk
