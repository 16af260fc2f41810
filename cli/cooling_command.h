#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli cooling manual|auto on|off --port N [--folder DIR] [--json]
int RunCoolingCommand(CliContext& context);

}  // namespace vesk::cli
