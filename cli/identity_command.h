#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli identity set --serial NNNNNN --model CODE --port N [--folder DIR] [--json]
int RunIdentityCommand(CliContext& context);

}  // namespace vesk::cli
