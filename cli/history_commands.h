#pragma once

#include "cli/cli_command.h"

namespace vesk::cli {

// vesk-cli history info | export | generate
int RunHistoryCommand(CliContext& context);

}  // namespace vesk::cli
