#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli ports [--probe] [--json] [--device PATH ...] [--folder DIR]
int RunPortsCommand(CliContext& context);

}  // namespace vesk::cli
