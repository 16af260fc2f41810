#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli lens [aperture F | iris close STEPS | iris open | focus max|min|+N|-N]
//   --port N [--folder DIR] [--json]
int RunLensCommand(CliContext& context);

}  // namespace vesk::cli
