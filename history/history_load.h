#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "history/raw_file.h"
#include "history/tinfos_rec.h"

namespace vesk {

// Receives the progress texts of a load: on a file of more than one block of records (2 MB;
// 64 Ki records in the older layouts) "Loading points... 0 %" and then a figure a few times
// per second at most while it is read, then "Sort points...", then the clean-up pass's
// "Deleting index : …" texts, a few per second at most. The window shows its progress
// window on the first text and frees it when the load returns, whichever way it does.
using LoadProgress = std::function<void(const std::string& text)>;

// What a load read: the file as it was opened, and the record count of its header, before
// the clean-up pass.
struct LoadedFile {
  FileIdentity identity;
  std::uint32_t count = 0;
};

// Replaces the content of history with the records of fileName, which must carry one of
// the accepted tags; older layouts are converted. A missing file leaves history as it was.
// Raises with fileName + " does not have the correct format !" for another tag, with
// "Error while reading file : " + the reason for a short file or an impossible count (the
// count is checked against the file's size before anything is allocated), and with the
// file layer's own message when not even the tag can be read. Logs "Data loaded : …" and,
// when there were records, "Data sorted, number of points : …". The records are read
// straight into history, which is given room for a tenth more so that the first records
// appended after the load do not move it all; the bytes past the counted records are ignored.
// read, when given, receives what was read; it is left as it was when the file is missing
// or the load fails.
void LoadHistory(const std::filesystem::path& fileName, std::span<const std::uint32_t> acceptedTags,
                 TTinfosRec& history, const LoadProgress& progress = {},
                 std::optional<LoadedFile>* read = nullptr);

// The clean-up pass of the load, in one linear pass: removes the records whose Date is
// exactly 0.0 from records 0 … n−2 (record 0 alone when there is one), so the last of two
// or more is never examined and stays even when empty. Order is kept.
void CleanUpHistory(TTinfosRec& history, const LoadProgress& progress = {});

}  // namespace vesk
