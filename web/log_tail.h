#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vesk {

// The newest whole lines of a text file (at most count, oldest first), read from its end:
// a long log is never read whole. An absent file has none.
std::vector<std::string> LogTail(const std::filesystem::path& file, std::size_t count);

}  // namespace vesk
