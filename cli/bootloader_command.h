#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli bootloader --yes --port N [--folder DIR] [--json]
int RunBootloaderCommand(CliContext& context);

}  // namespace vesk::cli
