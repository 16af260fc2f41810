#include "cli/serve_command.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "cli/serve_loop.h"
#include "common/event_log.h"
#include "common/folder_lock.h"
#include "common/program_folder.h"
#include "settings/settings_file.h"
#include "station/station_settings.h"

namespace vesk::cli {
namespace {

constexpr const char* kServeUsage =
    "Usage: vesk-cli serve [--port N | --device PATH] [--interval S] [--folder DIR] [--json]\n"
    "\n"
    "The station without a window, for a headless computer: connects to the board as the\n"
    "monitor does, polls it every S seconds, keeps every reading in DIR/DatasVesk.bin with\n"
    "the monitor's saves (every 15 minutes, and when stopped), writes the monitor's log lines\n"
    "to a Log_<number>.txt file of DIR and prints one line per poll. After 3 failed polls in a\n"
    "row the port is closed and the board looked for again every 30 s until it answers\n"
    "(\"Misc\" \"AutoReconnect\" and \"ReconnectPeriod\" of DIR/VeskLevel.ini; \"SavePeriod\"\n"
    "there sets the seconds between saves).\n"
    "Runs until %STOP%, then saves and ends.\n"
    "Exits with 1 when the board cannot be connected at start (a service manager starts it\n"
    "again) or the last save failed.\n"
    "A monitor and a serve never share one program folder: the second one refuses at once.\n"
    "The observatory integrations enabled in DIR/VeskLevel.ini run as in the monitor:\n"
    "\"Alpaca\" (ObservingConditions and SafetyMonitor over HTTP, with discovery), \"MQTT\"\n"
    "(each reading published, with Home Assistant discovery; not in the Windows build) and\n"
    "\"Web\" (the station's web page); the log says whether each runs and why not.\n"
    "\n"
    "  --port N      port number 1 to 255: DIR/ports/COM<N> when it exists, else\n"
    "                /dev/ttyS<N-1> (default: \"COM\" \"Value\" of DIR/VeskLevel.ini)\n"
    "  --device PATH the serial device in place of the port number: /dev/ttyUSB0,\n"
    "                /dev/serial/by-id/... (default: \"COM\" \"Device\" of DIR/VeskLevel.ini;\n"
    "                vesk-cli ports lists them)\n"
    "  --interval S  seconds between polls, fractions allowed (default: 1 with \"Misc\"\n"
    "                \"Speed\" set, else 10)\n"
    "  --folder DIR  the program folder: settings, ports/, history and log (default: this\n"
    "                program's folder)\n"
    "  --json        one JSON object per poll: Date (the history record's day count), Poll,\n"
    "                then the fields of vesk-cli poll --json, or ErrorMes for a failed poll\n";

bool HelpAsked(const std::vector<std::string>& args) {
  return (!args.empty() && IsHelp(args.front())) ||
         std::any_of(args.begin(), args.end(),
                     [](const auto& a) { return a == "--help" || a == "-h"; });
}

}  // namespace

int RunServeCommand(CliContext& context) {
  if (HelpAsked(context.args)) {
    // The stop requests are the system's own.
    std::string usage = kServeUsage;
    usage.replace(usage.find("%STOP%"), 6, ServeWait::StopRequests());
    context.out << usage;
    return kExitOk;
  }
  const auto port = TakeOption(context.args, "--port");
  const auto device = TakeOption(context.args, "--device");
  const auto interval = TakeOption(context.args, "--interval");
  const auto folder = TakeOption(context.args, "--folder");
  const bool json = TakeFlag(context.args, "--json");
  RejectUnknownOptions(context.args);
  if (!context.args.empty()) {
    throw UsageError("unexpected argument \"" + context.args.front() + "\"");
  }

  if (port && device) {
    throw UsageError("--port and --device name the same thing: give one of them");
  }
  if (device && device->empty()) {
    throw UsageError("--device needs a path");
  }
  // Checked before the folder is taken; 0 stands for "from the settings".
  const long long portNumber = port ? WholeNumber("--port", *port, 1, 255) : 0;
  const double seconds = interval ? PositiveNumber("--interval", *interval) : 0.0;

  ServeOptions options;
  options.folder = folder ? std::filesystem::path(*folder) : ProgramFolder();
  options.json = json;
  const FolderLock lock(options.folder);
  if (!lock.held()) {
    context.err << "vesk-cli serve: " << lock.refusal() << "\n";
    return kExitFailure;
  }
  if (!context.logFolder) {
    InitLog(options.folder);
  }

  const TSettingsFile file(options.folder);
  options.settings = ReadStationSettings(file);
  if (port) {
    options.settings.comNum = static_cast<int>(portNumber);
    options.settings.device.clear();  // the port number asked for, not the settings' device
  }
  if (device) {
    options.settings.device = *device;
  }
  options.period = std::chrono::duration<double>(interval                     ? seconds
                                                 : options.settings.fastSpeed ? 1.0
                                                                              : 10.0);

  ServeWait wait;
  ServeLoop loop(options, wait, context.out, context.err);
  return loop.Run();
}

}  // namespace vesk::cli
