#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/device_output.h"

namespace vesk {
class Station;
}

namespace vesk::cli {

// The options of every command that talks to a board.
struct BoardOptions {
  int port = 0;
  std::filesystem::path folder;
  bool json = false;
};

// Takes --port N (needed), --folder DIR and --json out of args.
BoardOptions TakeBoardOptions(std::vector<std::string>& args);

// Raises UsageError for whatever is left in args.
void ExpectNoArguments(const std::vector<std::string>& args);

// A station on the command's own thread: its polls wait, so nothing is ever posted.
std::unique_ptr<Station> MakeStation(const BoardOptions& options);

// Identifies the board as the monitor's connection does (the serial number when asked and the
// firmware knows it).
BoardIdentification Identify(Station& station, const BoardOptions& options, bool readSerialNumber);

// Reports a failed identification ("Issue with data link (FATAL ERROR) : " and the message);
// returns kExitFailure.
int IdentificationFailed(CliContext& context, const BoardOptions& options, const char* message);

// Identifies the board for a command that goes on talking to it (no serial number); a
// failure is reported as IdentificationFailed does, and nothing is returned.
std::optional<DeviceIdentity> IdentifyForCommand(CliContext& context, Station& station,
                                                 const BoardOptions& options);

// Prints usage when help is asked; "help" only as the first argument, since later it may be
// the value of --folder.
bool HelpAsked(CliContext& context, const char* usage);

}  // namespace vesk::cli
