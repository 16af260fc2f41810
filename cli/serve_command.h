#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli serve [--port N] [--interval S] [--folder DIR] [--json]
int RunServeCommand(CliContext& context);

}  // namespace vesk::cli
