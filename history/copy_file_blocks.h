#pragma once

#include <filesystem>

namespace vesk {

// Copies the source file to the target byte for byte. Returns 0 on success and 1 on any
// failure; never raises. A missing source leaves the target untouched.
int CopyFileBlocks(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace vesk
