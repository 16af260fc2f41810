#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/device_output.h"
#include "station/station.h"

namespace vesk::cli {

// The options every command on the board takes.
struct BoardOptions {
  int port = 0;
  // --device PATH: opened in place of the port number's device.
  std::string device;
  std::filesystem::path folder;
  bool json = false;
};

// Takes --port N or --device PATH (one of them needed), --folder DIR and --json out of args.
BoardOptions TakeBoardOptions(std::vector<std::string>& args);

// Raises UsageError for anything left in args.
void ExpectNoArguments(const std::vector<std::string>& args);

// The usage lines of --port and --device.
#define VESK_PORT_OPTION_LINES                                                                   \
  "  --port N      port number 1 to 255: DIR/ports/COM<N> when it exists, else /dev/ttyS<N-1>\n" \
  "  --device PATH the serial device in place of --port: /dev/ttyUSB0, /dev/serial/by-id/...\n"  \
  "                (vesk-cli ports lists them)\n"

// The usage lines of --port, --device, --folder and --json, the last one ending "--json        ".
inline constexpr const char* kBoardOptionLines = VESK_PORT_OPTION_LINES
    "  --folder DIR  folder holding ports/ and the monitor's settings file (default: this\n"
    "                program's folder)\n"
    "  --json        ";

// "help" only as the first argument: later it may be the value of --folder. Prints the usage
// when asked.
bool HelpAsked(CliContext& context, const std::string& usage);

// A station on the command's own thread: its polls wait, so nothing is ever posted. It
// converts humidity with the constants of the monitor's settings file in the folder, when
// there is one.
std::unique_ptr<Station> MakeStation(const BoardOptions& options);

BoardIdentification Identify(Station& station, const BoardOptions& options, bool readSerialNumber);

// Exit 1 for a board that cannot be identified: the link's message, and the port's device.
int IdentificationFailed(CliContext& context, const BoardOptions& options, const char* message);

// Exit 1 with the system's message: on standard error, or as {"ErrorMes": ...} with --json.
int Failed(CliContext& context, const BoardOptions& options, const std::string& message);

// Identifies the board (without its serial number), runs work on it and disconnects. Exit 1
// when the board cannot be identified or work raises, with the message; else exit 0. A
// UsageError from work (an argument refused once the board has answered) passes through.
int WithBoard(CliContext& context, const BoardOptions& options,
              const std::function<void(Station& station, const BoardIdentification& found)>& work);

// One poll, run and applied before it returns; the failure text of the poll when it failed
// (empty when it succeeded), its result into data when asked.
std::string PollOnce(Station& station, TDataOUT* data = nullptr);

}  // namespace vesk::cli
