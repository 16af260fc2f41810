#include "cli/identity_command.h"

#include <chrono>
#include <exception>
#include <ostream>
#include <thread>

#include "cli/board_session.h"
#include "common/exceptions.h"
#include "common/number_text.h"
#include "device/camera_models.h"
#include "device/identity_orders.h"

namespace vesk::cli {
namespace {

// Between the disconnection and the new connection that reads the new identity.
constexpr std::chrono::milliseconds kReconnectPause{300};

std::string ModelList() {
  std::string list;
  for (const CameraModel& m : kCameraModels) {
    list += "                  " + std::to_string(m.code) + "  " + m.text + "\n";
  }
  return list;
}

std::string IdentityUsage() {
  return std::string(
             "Usage: vesk-cli identity set --serial NNNNNN --model CODE --port N|--device PATH "
             "[--folder DIR]\n"
             "                             [--json]\n"
             "\n"
             "Writes the model type and serial number into a board with firmware 3 or later,\n"
             "which then asks to be reconnected: the identity is read back and printed as\n"
             "identify prints it. A serial number or a code outside what is listed here is\n"
             "refused (exit 2) and nothing is sent.\n"
             "  --serial NNNNNN  127001 to 134999\n"
             "  --model CODE     the type code of one of:\n") +
         ModelList() + "\n" + kBoardOptionLines +
         "the identity read back as identify --json prints it; ErrorMes on\n"
         "                failure\n";
}

std::uint32_t TakeSerial(std::vector<std::string>& args) {
  const auto serial = TakeOption(args, "--serial");
  if (!serial) {
    throw UsageError("--serial NNNNNN is needed");
  }
  return static_cast<std::uint32_t>(WholeNumber("--serial", *serial, 127001, 134999));
}

std::uint8_t TakeModel(std::vector<std::string>& args) {
  const auto model = TakeOption(args, "--model");
  if (!model) {
    throw UsageError("--model CODE is needed");
  }
  long long code = -1;
  if (!TextToInt(*model, code) || code < 0 || code > 255 ||
      CameraModelOfCode(static_cast<std::uint8_t>(code)) == nullptr) {
    throw UsageError("--model needs the code of a listed model (see identity --help), not \"" +
                     *model + "\"");
  }
  return static_cast<std::uint8_t>(code);
}

}  // namespace

int RunIdentityCommand(CliContext& context) {
  if (HelpAsked(context, IdentityUsage())) {
    return kExitOk;
  }
  const BoardOptions options = TakeBoardOptions(context.args);
  if (!TakeFlag(context.args, "set")) {
    throw UsageError("identity takes set");
  }
  const std::uint32_t serial = TakeSerial(context.args);
  const std::uint8_t type = TakeModel(context.args);
  ExpectNoArguments(context.args);

  return WithBoard(context, options, [&](Station& station, const BoardIdentification& found) {
    if (!found.identity.GroupBoxV3) {
      throw Exception("The board's firmware is below 3: it does not store its identity");
    }
    if (station.SetTypeAndSerial(type, serial) != IdentityAnswer::Reconnect) {
      throw Exception("The board did not take the new identity");
    }
    // Connected anew, as the monitor does, to read the new identity back.
    station.Disconnect();
    std::this_thread::sleep_for(kReconnectPause);
    const BoardIdentification written = Identify(station, options, true);
    context.out << (options.json ? IdentityJson(written) : IdentityText(written)) << std::flush;
  });
}

}  // namespace vesk::cli
