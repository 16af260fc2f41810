#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli heating --port N [--folder DIR] [--json]
// vesk-cli heating set [--temp C] [--rh PCT] [--power PCT] [--auto on|off] --port N ...
int RunHeatingCommand(CliContext& context);

}  // namespace vesk::cli
