#pragma once

#include <filesystem>
#include <memory>

#include "common/folder_lock.h"

namespace vesk {

// The start's claim on the program folder, after the single-instance guard: a folder that a
// `vesk-cli serve` or another monitor already keeps is refused in a message box (and the log)
// naming that process, and the program ends (nothing returned). A folder where the lock file
// cannot be made (read-only) starts as before, without the lock.
std::unique_ptr<FolderLock> ClaimProgramFolder(const std::filesystem::path& folder);

}  // namespace vesk
