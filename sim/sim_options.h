#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "sim/board_setup.h"

namespace vesk::sim {

// What the command line of vesk-board-sim asks for.
struct SimOptions {
  BoardSetup setup;
  int port = 3;
  std::filesystem::path folder;  // empty: the program's own folder
  double speed = 1;              // how much faster than real time the board's clock runs
  std::filesystem::path record;  // empty: the orders received are not written down
  bool help = false;
};

// The preset (--preset, else the default one) is applied first, the other options over
// it, whatever their order. A bad option raises an Exception whose message names it.
SimOptions ParseSimOptions(const std::vector<std::string>& args);

// The --help text.
std::string SimUsage();

}  // namespace vesk::sim
