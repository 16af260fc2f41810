#include "cli/device_commands.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>
#include <memory>
#include <ostream>
#include <thread>

#include "acquisition/thread_request.h"
#include "cli/board_session.h"
#include "cli/device_output.h"

namespace vesk::cli {
namespace {

constexpr const char* kIdentifyUsage =
    "Usage: vesk-cli identify --port N|--device PATH [--folder DIR] [--json]\n"
    "\n"
    "Opens the port, reads the board's firmware version and model type (and, on firmware 3\n"
    "and later, its serial number) and prints them with the model's label and features.\n"
    "\n" VESK_PORT_OPTION_LINES
    "  --folder DIR  folder holding ports/ (default: this program's folder)\n"
    "  --json        one JSON object: Version, major, minor, TypeCam, label, DisplayTempHot,\n"
    "                DisplayRH_int, DriveEFlens_intf, SerialNumber; ErrorMes on failure\n";

constexpr const char* kPollUsage =
    "Usage: vesk-cli poll --port N|--device PATH [--count K] [--interval S] [--folder DIR]\n"
    "                     [--json]\n"
    "\n"
    "Identifies the board, then polls it K times (default 1), S seconds apart (default 10,\n"
    "fractions allowed), as the monitor does, and prints the readings with their units or\n"
    "the failure text of each poll. Exits with 1 when the board cannot be identified or\n"
    "when every poll failed.\n"
    "\n" VESK_PORT_OPTION_LINES
    "  --folder DIR  folder holding ports/ (default: this program's folder)\n"
    "  --json        one JSON object per poll, one per line: TempExt, RHExt, TempInt, RHInt,\n"
    "                TempHot, Pressure, Windir, WindSpeed, ActiveHeater, AutoTempRH_Heat,\n"
    "                PowerHeaterLevel, StatusSensor, ValueFan, StatusCooler, PresenceAF,\n"
    "                FirstByteAF, lensID, LensName; only ErrorMes for a failed poll\n";

}  // namespace

int RunIdentifyCommand(CliContext& context) {
  if (HelpAsked(context, kIdentifyUsage)) {
    return kExitOk;
  }
  const BoardOptions options = TakeBoardOptions(context.args);
  ExpectNoArguments(context.args);
  const auto station = MakeStation(options);
  BoardIdentification found;
  try {
    found = Identify(*station, options, true);
  } catch (const std::exception& e) {
    return IdentificationFailed(context, options, e.what());
  }
  station->Disconnect();
  context.out << (options.json ? IdentityJson(found) : IdentityText(found)) << std::flush;
  return kExitOk;
}

int RunPollCommand(CliContext& context) {
  if (HelpAsked(context, kPollUsage)) {
    return kExitOk;
  }
  const BoardOptions options = TakeBoardOptions(context.args);
  const auto count = TakeOption(context.args, "--count");
  const auto interval = TakeOption(context.args, "--interval");
  ExpectNoArguments(context.args);
  const long long polls = count ? WholeNumber("--count", *count, 1, 1'000'000'000) : 1;
  const std::chrono::duration<double> period(interval ? PositiveNumber("--interval", *interval)
                                                      : 10.0);

  const auto station = MakeStation(options);
  DeviceIdentity identity;
  try {
    identity = Identify(*station, options, false).identity;
  } catch (const std::exception& e) {
    return IdentificationFailed(context, options, e.what());
  }

  long long succeeded = 0;
  long long k = 0;
  station->SetPollPresenter([&](const ThreadRequest& worker) {
    if (worker.ErrorMes.empty()) {
      ++succeeded;
    }
    if (options.json) {
      context.out << (worker.ErrorMes.empty() ? PollJson(worker.FDataOUT)
                                              : ErrorJson(worker.ErrorMes));
    } else if (worker.ErrorMes.empty()) {
      context.out << "Poll " << k << ":\n" << PollText(identity, worker.FDataOUT);
    } else {
      context.err << "Poll " << k << ": " << worker.ErrorMes << "\n";
    }
    context.out << std::flush;
  });
  auto next = std::chrono::steady_clock::now();
  for (k = 1; k <= polls; ++k) {
    if (k > 1) {
      // Polls start S seconds apart; one that took longer delays the next, as a timer tick
      // during a running poll does in the monitor.
      next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(period);
      next = std::max(next, std::chrono::steady_clock::now());
      std::this_thread::sleep_until(next);
    }
    // Without the wind correction: that is a setting of the monitor's window.
    station->PollDevice(true);
  }
  station->Disconnect();
  return succeeded > 0 ? kExitOk : kExitFailure;
}

}  // namespace vesk::cli
