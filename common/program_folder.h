#pragma once

#include <filesystem>
#include <vector>

namespace vesk {

// The folder of the running executable: settings, logs, history and ports/ live there.
std::filesystem::path ProgramFolder();

// Where the monitor keeps its settings, logs, history and ports/: the program folder when the
// program may write there, as a copy unpacked anywhere always did; else, for an installed
// program (its folder is one of installedFolders, where the install rules and the package put
// the programs, or one it may not write to), a folder of the user's own:
// $XDG_DATA_HOME/vesk-monitor, else ~/.local/share/vesk-monitor (Windows: %LOCALAPPDATA%\Vesk
// Monitor), created when missing.
std::filesystem::path DataFolder(const std::filesystem::path& programFolder,
                                 const std::vector<std::filesystem::path>& installedFolders);

}  // namespace vesk
