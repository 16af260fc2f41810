#include "cli/bootloader_command.h"

#include <exception>
#include <ostream>

#include "cli/board_session.h"
#include "cli/json_writer.h"
#include "common/exceptions.h"
#include "device/bootloader_order.h"

namespace vesk::cli {
namespace {

const std::string kBootloaderUsage =
    std::string(
        "Usage: vesk-cli bootloader --yes --port N|--device PATH [--folder DIR] [--json]\n"
        "\n"
        "Puts the board into its bootloader mode for a firmware update (0x1C). The board\n"
        "then leaves its application firmware and answers nothing more until it is\n"
        "updated or restarted, so the order is only sent with --yes.\n"
        "\n"
        "  --yes         send the order\n") +
    kBoardOptionLines + "one JSON object: bootloader; ErrorMes on failure\n";

}  // namespace

int RunBootloaderCommand(CliContext& context) {
  if (HelpAsked(context, kBootloaderUsage)) {
    return kExitOk;
  }
  const BoardOptions options = TakeBoardOptions(context.args);
  const bool yes = TakeFlag(context.args, "--yes");
  ExpectNoArguments(context.args);
  if (!yes) {
    throw UsageError(
        "the bootloader order is only sent with --yes: the board answers nothing more after it");
  }

  return WithBoard(context, options, [&](Station& station, const BoardIdentification&) {
    try {
      station.SetBootloaderMode();
    } catch (const std::exception&) {
      throw Exception(BootloaderSendFailedMessage());
    }
    context.out << (options.json ? JsonObject().add("bootloader", true).text() + "\n"
                                 : std::string("Bootloader mode order sent: the board answers "
                                               "nothing more until its firmware is updated.\n"))
                << std::flush;
  });
}

}  // namespace vesk::cli
