#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli weather --port N [--folder DIR] [--json]
int RunWeatherCommand(CliContext& context);

}  // namespace vesk::cli
