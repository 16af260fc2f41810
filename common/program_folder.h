#pragma once

#include <filesystem>

namespace vesk {

// The folder of the running executable: settings, logs, history and ports/ live there.
std::filesystem::path ProgramFolder();

}  // namespace vesk
