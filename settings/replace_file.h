#pragma once

#include <filesystem>
#include <string>

namespace vesk {

// Replaces the file's content in one step: the new content goes into a temporary file of the
// same folder, reaches the disk, and is renamed over the file, so a crash leaves either the
// old or the new content, never an empty or half-written file. A symbolic link is followed,
// so the file it names is replaced. The file keeps its permissions; with ownerOnly it becomes
// readable and writable by its owner only (POSIX). Raises EInOutError "Unable to write to "
// + the path when the file cannot be written.
void ReplaceFileContent(const std::filesystem::path& file, const std::string& content,
                        bool ownerOnly);

// Takes the group and other permissions away from an existing file (POSIX); a missing file or
// a failure is ignored.
void RestrictToOwner(const std::filesystem::path& file);

}  // namespace vesk
