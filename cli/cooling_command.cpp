#include "cli/cooling_command.h"

#include <exception>
#include <ostream>

#include "cli/board_session.h"
#include "cli/settings_output.h"
#include "common/exceptions.h"

namespace vesk::cli {
namespace {

const std::string kCoolingUsage =
    std::string(
        "Usage: vesk-cli cooling manual on|off --port N|--device PATH [--folder DIR] [--json]\n"
        "       vesk-cli cooling auto on|off --port N|--device PATH [--folder DIR] [--json]\n"
        "\n"
        "Switches the sensor cooler's manual or automatic mode (on the model with a\n"
        "cooled sensor only), then polls the board once and prints the mode it reports.\n"
        "\n") +
    kBoardOptionLines +
    "one JSON object: StatusCooler, StaticTextModeCooling,\n"
    "                StaticTextCoolingState; ErrorMes on failure\n";

}  // namespace

int RunCoolingCommand(CliContext& context) {
  if (HelpAsked(context, kCoolingUsage)) {
    return kExitOk;
  }
  const BoardOptions options = TakeBoardOptions(context.args);
  const bool manual = TakeFlag(context.args, "manual");
  const bool automatic = TakeFlag(context.args, "auto");
  if (manual == automatic) {
    throw UsageError("cooling takes manual or auto");
  }
  const bool on = TakeSwitch(context.args, manual ? "cooling manual" : "cooling auto");
  ExpectNoArguments(context.args);

  return WithBoard(context, options, [&](Station& station, const BoardIdentification& found) {
    // The monitor offers the two modes only for this model; others are not sent the orders.
    if (found.identity.model.cooling != CoolingKind::Full) {
      throw Exception("The board (model " + std::to_string(found.identity.TypeCam) +
                      ") has no sensor cooling modes: nothing sent");
    }
    if (manual) {
      station.SetManualCooler(on);
    } else {
      station.SetAutoCooler(on);
    }
    TDataOUT polled;
    if (const std::string failure = PollOnce(station, &polled); !failure.empty()) {
      throw Exception(failure);
    }
    context.out << (options.json ? CoolingJson(polled) : CoolingText(polled)) << std::flush;
  });
}

}  // namespace vesk::cli
