#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace vesk {

// The one durable replacement of a file the program has, for the settings, the history and the
// chart images alike.

// Renames from over to, replacing an existing file in one step, and returns once the new name
// is on the disk: the folder is flushed (POSIX; a folder that cannot be opened or flushed
// leaves the rename as durable as its file system allows) or the move written through (Win32,
// where a rename over an existing file must be asked for). Returns the system's error (errno,
// or GetLastError on Windows) when the rename fails; nothing is changed then.
std::error_code RenameOverDurably(const std::filesystem::path& from,
                                  const std::filesystem::path& to);

// Replaces the file's content in one step: the new content goes into a temporary file of the
// same folder, reaches the disk, and is renamed over the file (RenameOverDurably), so a crash
// leaves either the old or the new content, never an empty or half-written file. A symbolic
// link is followed, so the file it names is replaced. The file keeps its permissions; with
// ownerOnly it becomes readable and writable by its owner only (POSIX). Raises EInOutError
// "Unable to write to " + the path when the file cannot be written.
void ReplaceFileContent(const std::filesystem::path& file, const std::string& content,
                        bool ownerOnly);

// Takes the group and other permissions away from an existing file (POSIX); a missing file or
// a failure is ignored.
void RestrictToOwner(const std::filesystem::path& file);

// Removes the temporary files a replacement of file left when its writer was killed in the
// middle ("." + the file's name + "." + the writer's process id + "." + a count + ".tmp",
// beside the file a symbolic link names); those of a writer still running stay. Never raises.
void RemoveAbandonedTemporaries(const std::filesystem::path& file);

}  // namespace vesk
