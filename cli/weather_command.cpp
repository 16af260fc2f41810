#include "cli/weather_command.h"

#include <exception>
#include <ostream>
#include <string>

#include "cli/board_options.h"
#include "cli/weather_output.h"
#include "station/station.h"

namespace vesk::cli {
namespace {

constexpr const char* kWeatherUsage =
    "Usage: vesk-cli weather --port N [--folder DIR] [--json]\n"
    "\n"
    "Identifies the board and reads its weather module as the \"Debug and Test Astel WEATHER\"\n"
    "page does: every row's raw word (binary, hexadecimal, decimal) and its value, then the\n"
    "converter status. A reply too short for a row prints the rows before it, then fails.\n"
    "Exits with 1 when the board cannot be identified, has no weather module or the reading\n"
    "fails.\n"
    "\n"
    "  --port N      port number 1 to 255: DIR/ports/COM<N> when it exists, else /dev/ttyS<N-1>\n"
    "  --folder DIR  folder holding ports/ (default: this program's folder)\n"
    "  --json        one JSON object per row, one per line: Caption, Raw, Value, Red; then\n"
    "                ADCStatus (and Red when the status sets a colour); ErrorMes on failure\n";

int Failed(CliContext& context, const BoardOptions& options, const std::string& message) {
  if (options.json) {
    context.out << ErrorJson(message);
  } else {
    context.err << message << "\n";
  }
  context.out << std::flush;
  return kExitFailure;
}

}  // namespace

int RunWeatherCommand(CliContext& context) {
  if (HelpAsked(context, kWeatherUsage)) {
    return kExitOk;
  }
  const BoardOptions options = TakeBoardOptions(context.args);
  ExpectNoArguments(context.args);
  const auto station = MakeStation(options);
  const auto identity = IdentifyForCommand(context, *station, options);
  if (!identity) {
    return kExitFailure;
  }
  // The monitor shows the page to these models only; the others answer the order with one
  // byte, too short for any row.
  if (!identity->model.weatherPages) {
    station->Disconnect();
    return Failed(
        context, options,
        "The board has no weather module (model type " + std::to_string(identity->TypeCam) + ")");
  }
  TWeatherReadout readout;
  try {
    readout = station->GetExtDatas();
  } catch (const std::exception& e) {
    station->Disconnect();
    return Failed(context, options, e.what());
  }
  station->Disconnect();
  context.out << (options.json ? WeatherJson(readout) : WeatherText(readout));
  if (readout.error) {
    try {
      std::rethrow_exception(readout.error);
    } catch (const std::exception& e) {
      return Failed(context, options, e.what());
    } catch (...) {
      return Failed(context, options, "Unknown error");
    }
  }
  context.out << std::flush;
  return kExitOk;
}

}  // namespace vesk::cli
