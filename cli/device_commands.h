#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli identify --port N [--folder DIR] [--json]
int RunIdentifyCommand(CliContext& context);

// vesk-cli poll --port N [--count K] [--interval S] [--folder DIR] [--json]
int RunPollCommand(CliContext& context);

}  // namespace vesk::cli
