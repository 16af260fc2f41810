#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli heater on|off --port N [--folder DIR] [--json]
int RunHeaterCommand(CliContext& context);

}  // namespace vesk::cli
