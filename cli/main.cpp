// vesk-cli: the monitor's core on the command line, for headless machines and batch work.

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "cli/bootloader_command.h"
#include "cli/cli_command.h"
#include "cli/cooling_command.h"
#include "cli/device_commands.h"
#include "cli/heater_command.h"
#include "cli/heating_command.h"
#include "cli/history_commands.h"
#include "cli/identity_command.h"
#include "cli/lens_commands.h"
#include "cli/ports_command.h"
#include "cli/serve_command.h"
#include "cli/weather_command.h"
#include "cli/web_command.h"
#include "common/event_log.h"
#include "common/program_folder.h"
#include "version/version.h"

namespace {

using namespace vesk::cli;

constexpr CliCommand kCommands[] = {
    {"history", "read, convert and generate history files", &RunHistoryCommand},
    {"ports", "list the serial ports; with --probe, which answer as a board", &RunPortsCommand},
    {"identify", "read the board's firmware version, model and serial number", &RunIdentifyCommand},
    {"poll", "poll the board's readings as the monitor does", &RunPollCommand},
    {"heating", "read or set the dome heating thresholds and power", &RunHeatingCommand},
    {"heater", "force the dome heater on or off", &RunHeaterCommand},
    {"cooling", "switch the sensor cooler's manual or automatic mode", &RunCoolingCommand},
    {"identity", "write the board's model type and serial number", &RunIdentityCommand},
    {"bootloader", "put the board into its bootloader mode", &RunBootloaderCommand},
    {"weather", "read the weather module's raw words and values", &RunWeatherCommand},
    {"serve", "the station without a window: polls, history, reconnection", &RunServeCommand},
    {"web", "set the password of the station's web page", &RunWebCommand},
    {"lens", "show the lens; set its aperture, open or close its iris, move its focus",
     &RunLensCommand},
};

void PrintUsage(std::ostream& out) {
  out << "Usage: vesk-cli [--log-folder DIR] COMMAND ...\n"
         "       vesk-cli --help | --version | COMMAND --help\n\n"
         "Commands:\n";
  for (const auto& command : kCommands) {
    out << "  " << std::left << std::setw(12) << command.name << command.summary << "\n";
  }
  out << "\nLog lines go to a Log_<number>.txt file in the program folder (or DIR), as the\n"
         "monitor's do; to the temporary folder when the program folder is read-only.\n"
         "Exit status: 0 done, 1 failed, 2 bad usage.\n";
}

// The log file is only created by the first line written, so fixing its folder is free.
void PrepareLog(const std::optional<std::string>& folder) {
  if (folder) {
    vesk::InitLog(*folder);
    return;
  }
  const std::filesystem::path program = vesk::ProgramFolder();
#ifdef _WIN32
  const bool writable = ::_waccess(program.c_str(), 2) == 0;
#else
  const bool writable = ::access(program.c_str(), W_OK) == 0;
#endif
  vesk::InitLog(writable ? program : std::filesystem::temp_directory_path());
}

int Run(std::vector<std::string> args) {
  const auto logFolder = TakeOption(args, "--log-folder");
  if (args.empty()) {
    throw UsageError("a command is needed");
  }
  if (IsHelp(args[0])) {
    PrintUsage(std::cout);
    return kExitOk;
  }
  if (args[0] == "--version") {
    std::cout << "vesk-cli " << vesk::kVersionLine << "\n";
    return kExitOk;
  }
  for (const auto& command : kCommands) {
    if (args[0] == command.name) {
      PrepareLog(logFolder);
      CliContext context{{args.begin() + 1, args.end()}, std::cout, std::cerr, logFolder};
      return command.run(context);
    }
  }
  throw UsageError("unknown command \"" + args[0] + "\"");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run({argv + 1, argv + argc});
  } catch (const UsageError& e) {
    std::cerr << "vesk-cli: " << e.what() << "\n(vesk-cli --help shows the usage)\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return kExitFailure;
  }
}
