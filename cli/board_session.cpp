#include "cli/board_session.h"

#include <algorithm>
#include <exception>
#include <ostream>

#include "acquisition/thread_request.h"
#include "common/program_folder.h"
#include "link/serial_port.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "station/reconnection.h"

namespace vesk::cli {

BoardOptions TakeBoardOptions(std::vector<std::string>& args) {
  BoardOptions options;
  const auto port = TakeOption(args, "--port");
  const auto device = TakeOption(args, "--device");
  const auto folder = TakeOption(args, "--folder");
  options.json = TakeFlag(args, "--json");
  if (port && device) {
    throw UsageError("--port and --device name the same thing: give one of them");
  }
  if (device) {
    if (device->empty()) {
      throw UsageError("--device needs a path");
    }
    options.device = *device;
  } else if (!port) {
    throw UsageError("--port N or --device PATH is needed");
  } else {
    options.port = static_cast<int>(WholeNumber("--port", *port, 1, 255));
  }
  options.folder = folder ? std::filesystem::path(*folder) : ProgramFolder();
  return options;
}

void ExpectNoArguments(const std::vector<std::string>& args) {
  RejectUnknownOptions(args);
  if (!args.empty()) {
    throw UsageError("unexpected argument \"" + args.front() + "\"");
  }
}

bool HelpAsked(CliContext& context, const std::string& usage) {
  const auto& args = context.args;
  const bool asked = (!args.empty() && IsHelp(args.front())) ||
                     std::any_of(args.begin(), args.end(),
                                 [](const auto& a) { return a == "--help" || a == "-h"; });
  if (asked) {
    context.out << usage;
  }
  return asked;
}

std::unique_ptr<Station> MakeStation(const BoardOptions& options) {
  auto station =
      std::make_unique<Station>(options.folder, [](std::function<void()> call) { call(); });
  station->SetDevice(options.device);
  // A threshold in %RH is only the board's count through the constants the operator set.
  if (std::filesystem::exists(options.folder / settings_keys::kFileName)) {
    const TSettingsFile settings(options.folder);
    const HumidityConstants held = station->Humidity();
    station->SetHumidity({settings.ReadHumiditySensorGain(held.HumiditySensorGain),
                          settings.ReadHumiditySensorOffset(held.HumiditySensorOffset)});
  }
  return station;
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
  const std::string text = std::string(kDataLinkFatal) + message;
  if (options.json) {
    context.out << ErrorJson(text) << std::flush;
  } else {
    context.err << text << "\n";
    if (options.device.empty()) {
      context.err << "(port " << options.port << " is "
                  << PortDeviceName(options.port, options.folder) << ")\n";
    }
  }
  return kExitFailure;
}

int Failed(CliContext& context, const BoardOptions& options, const std::string& message) {
  if (options.json) {
    context.out << ErrorJson(message) << std::flush;
  } else {
    context.err << message << "\n";
  }
  return kExitFailure;
}

int WithBoard(CliContext& context, const BoardOptions& options,
              const std::function<void(Station& station, const BoardIdentification& found)>& work) {
  const auto station = MakeStation(options);
  BoardIdentification found;
  try {
    found = Identify(*station, options, false);
  } catch (const std::exception& e) {
    return IdentificationFailed(context, options, e.what());
  }
  try {
    work(*station, found);
  } catch (const UsageError&) {
    // An argument only the board's answers could refuse: still bad usage.
    station->Disconnect();
    throw;
  } catch (const std::exception& e) {
    station->Disconnect();
    return Failed(context, options, e.what());
  }
  station->Disconnect();
  return kExitOk;
}

std::string PollOnce(Station& station, TDataOUT* data) {
  std::string failure = "No poll ran";
  station.SetPollPresenter([&failure, data](const ThreadRequest& worker) {
    failure = worker.ErrorMes;
    if (data != nullptr) {
      *data = worker.FDataOUT;
    }
  });
  station.PollDevice(true);
  station.SetPollPresenter({});
  return failure;
}

}  // namespace vesk::cli
