#include "cli/heater_command.h"

#include <exception>
#include <ostream>

#include "cli/board_session.h"
#include "cli/settings_output.h"

namespace vesk::cli {
namespace {

const std::string kHeaterUsage =
    std::string(
        "Usage: vesk-cli heater on|off --port N|--device PATH [--folder DIR] [--json]\n"
        "\n"
        "Forces the dome heater on or off by hand (REQ_ENABLE_HEATER) and prints the\n"
        "board's answer, its automatic-heating flag: while automatic heating is on, the\n"
        "board heats by its thresholds instead.\n"
        "\n") +
    kBoardOptionLines + "one JSON object: on, AutoHeater; ErrorMes on failure\n";

}  // namespace

int RunHeaterCommand(CliContext& context) {
  if (HelpAsked(context, kHeaterUsage)) {
    return kExitOk;
  }
  const BoardOptions options = TakeBoardOptions(context.args);
  const bool on = TakeSwitch(context.args, "heater");
  ExpectNoArguments(context.args);

  return WithBoard(context, options, [&](Station& station, const BoardIdentification&) {
    const std::uint8_t answer = station.EnableHeater(on ? 1 : 0);
    context.out << (options.json ? HeaterJson(on, answer) : HeaterText(on, answer)) << std::flush;
  });
}

}  // namespace vesk::cli
