#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "history/tinfos_rec.h"

namespace vesk {

// Told the name of each step of a save once the step is done. The kill tests stop the
// process there; nothing else sets one.
using SaveStepHook = std::function<void(const std::string& step)>;

// Writes a complete history file (current tag, count, records) to file, creating or
// truncating it, and flushes it to the disk. On failure the partial file is removed and
// EInOutError carries the file layer's message. Steps: "<who> half written" (with two
// records or more), "<who> written", "<who> flushed".
void WriteHistoryRecords(const std::filesystem::path& file, std::span<const TinfosRec> records,
                         const SaveStepHook& step = {}, const std::string& who = "new file");

// The temporary name a history file is written under before it replaces path.
std::filesystem::path TemporaryFileFor(const std::filesystem::path& path);

// Removes a temporary file a save cut short left, before it is written again: it may be a
// second name of the history file or of its copy, which truncating it would change. A
// folder in its place is left (creating the file then fails).
void RemoveLeftover(const std::filesystem::path& temporary);

// Writes path so that a crash at any moment leaves either the previous file or the new
// one: a temporary file in the same folder, flushed, then renamed over path.
// beforeReplace runs once the new content is safely on disk, just before the rename.
// Steps: those of WriteHistoryRecords, then "<who> renamed".
void WriteHistoryFile(const std::filesystem::path& path, std::span<const TinfosRec> records,
                      const std::function<void()>& beforeReplace = {},
                      const SaveStepHook& step = {}, const std::string& who = "new file");

// Brings an open history file that holds `have` records of records (the first `have`,
// perhaps followed by bytes the count leaves out) to all of records, in an order a crash
// cannot spoil: the bytes past the counted records cut off, the new records appended and
// flushed, then the count in the header written and flushed. Until the count is written
// the file loads as before; after, it loads with every record. Steps: "<who> cut",
// "<who> half appended", "<who> appended", "<who> appended flushed", "<who> count written",
// "<who> count flushed", each only when it does something. Without flush (the benchmarks'
// baseline only) the same writes are made and nothing is flushed.
void ExtendHistoryFile(class RawFile& file, std::uint32_t have, std::span<const TinfosRec> records,
                       const SaveStepHook& step = {}, const std::string& who = "file",
                       bool flush = true);

}  // namespace vesk
