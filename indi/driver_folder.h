#pragma once

#include <filesystem>

namespace vesk::indi {

// The driver's program folder (settings, history, log) when the operator names none: "vesk"
// beside INDI's configuration files, the folder of $INDICONFIG when set, else ~/.indi.
std::filesystem::path DefaultDriverFolder();

}  // namespace vesk::indi
