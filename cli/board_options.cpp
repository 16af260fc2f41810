#include "cli/board_options.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <ostream>

#include "common/program_folder.h"
#include "link/serial_port.h"
#include "station/station.h"

namespace vesk::cli {

BoardOptions TakeBoardOptions(std::vector<std::string>& args) {
  BoardOptions options;
  const auto port = TakeOption(args, "--port");
  const auto folder = TakeOption(args, "--folder");
  options.json = TakeFlag(args, "--json");
  if (!port) {
    throw UsageError("--port N is needed");
  }
  options.port = static_cast<int>(WholeNumber("--port", *port, 1, 255));
  options.folder = folder ? std::filesystem::path(*folder) : ProgramFolder();
  return options;
}

void ExpectNoArguments(const std::vector<std::string>& args) {
  RejectUnknownOptions(args);
  if (!args.empty()) {
    throw UsageError("unexpected argument \"" + args.front() + "\"");
  }
}

std::unique_ptr<Station> MakeStation(const BoardOptions& options) {
  return std::make_unique<Station>(options.folder, [](std::function<void()> call) { call(); });
}

BoardIdentification Identify(Station& station, const BoardOptions& options, bool readSerialNumber) {
  BoardIdentification found;
  found.identity = station.Identify(options.port, readSerialNumber);
  if (readSerialNumber && found.identity.GroupBoxV3) {
    found.serialNumber = station.Identity().SerialNumber;
  }
  return found;
}

int IdentificationFailed(CliContext& context, const BoardOptions& options, const char* message) {
  const std::string text = std::string("Issue with data link (FATAL ERROR) : ") + message;
  if (options.json) {
    context.out << ErrorJson(text) << std::flush;
  } else {
    context.err << text << "\n"
                << "(port " << options.port << " is "
                << PortDeviceName(options.port, options.folder) << ")\n";
  }
  return kExitFailure;
}

std::optional<DeviceIdentity> IdentifyForCommand(CliContext& context, Station& station,
                                                 const BoardOptions& options) {
  try {
    return Identify(station, options, false).identity;
  } catch (const std::exception& e) {
    IdentificationFailed(context, options, e.what());
    return std::nullopt;
  }
}

bool HelpAsked(CliContext& context, const char* usage) {
  const auto& args = context.args;
  const bool asked = (!args.empty() && IsHelp(args.front())) ||
                     std::any_of(args.begin(), args.end(),
                                 [](const auto& a) { return a == "--help" || a == "-h"; });
  if (asked) {
    context.out << usage;
  }
  return asked;
}

}  // namespace vesk::cli
