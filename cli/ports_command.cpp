#include "cli/ports_command.h"

#include <algorithm>
#include <ostream>

#include "cli/board_session.h"
#include "cli/port_probe.h"
#include "cli/ports_output.h"
#include "common/program_folder.h"

namespace vesk::cli {
namespace {

constexpr const char* kPortsUsage =
    "Usage: vesk-cli ports [--probe] [--device PATH ...] [--folder DIR] [--json]\n"
    "\n"
    "Lists the serial ports of this computer: /dev/ttyS* that exist as UARTs, /dev/ttyAMA*,\n"
    "/dev/ttyUSB* and /dev/ttyACM*, with their /dev/serial/by-id names and what the USB\n"
    "adapter tells of itself (on Windows, the COM ports of the system), and the ports/COM<N>\n"
    "links of DIR with the port number each stands for. Any of these names can be given to\n"
    "the other commands with --device, or chosen in the monitor's connection bar.\n"
    "\n"
    "  --probe       sends the version order to every port no other program holds and says\n"
    "                which answer as a board: model, firmware and serial number (a port that\n"
    "                stays silent takes 2 s, all ports are tried at once)\n"
    "  --device PATH lists (and probes) only this device; may be given more than once. With\n"
    "                --probe, exits with 1 when none of them answers as a board\n"
    "  --folder DIR  folder holding ports/ (default: this program's folder)\n"
    "  --json        one JSON object per port, one per line: Device, ById, UsbVendorId,\n"
    "                UsbProductId, Manufacturer, Product, UsbSerial, Port; with --probe,\n"
    "                Probe (board, no answer, busy or not opened) and Version, TypeCam,\n"
    "                label, SerialNumber, or HeldBy, or ErrorMes\n";

}  // namespace

int RunPortsCommand(CliContext& context) {
  if (HelpAsked(context, kPortsUsage)) {
    return kExitOk;
  }
  auto& args = context.args;
  const bool probe = TakeFlag(args, "--probe");
  const bool json = TakeFlag(args, "--json");
  const auto folder = TakeOption(args, "--folder");
  std::vector<std::string> devices;
  while (const auto device = TakeOption(args, "--device")) {
    if (device->empty()) {
      throw UsageError("--device needs a path");
    }
    devices.push_back(*device);
  }
  ExpectNoArguments(args);

  const std::filesystem::path programFolder =
      folder ? std::filesystem::path(*folder) : ProgramFolder();
  const auto ports = PortsToList(programFolder, devices);
  const auto probes = probe ? ProbePorts(ports, programFolder) : std::vector<PortProbe>{};
  for (std::size_t i = 0; i < ports.size(); ++i) {
    const PortProbe* found = probe ? &probes[i] : nullptr;
    context.out << (json ? PortJson(ports[i], found) : PortText(ports[i], found));
  }
  if (ports.empty() && !json) {
    context.out << "No serial port found.\n";
  }
  const bool boardFound = std::any_of(probes.begin(), probes.end(), [](const PortProbe& p) {
    return p.result == PortProbe::Result::Board;
  });
  return probe && !devices.empty() && !boardFound ? kExitFailure : kExitOk;
}

}  // namespace vesk::cli
