#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli web password [--folder DIR]
int RunWebCommand(CliContext& context);

}  // namespace vesk::cli
