#include "cli/weather_command.h"

#include <exception>
#include <ostream>
#include <string>

#include "cli/board_session.h"
#include "cli/weather_output.h"
#include "common/exceptions.h"

namespace vesk::cli {
namespace {

const std::string kWeatherUsage =
    std::string(
        "Usage: vesk-cli weather --port N|--device PATH [--folder DIR] [--json]\n"
        "\n"
        "Identifies the board and reads its weather module as the \"Debug and Test Astel\n"
        "WEATHER\" page does: every row's raw word (binary, hexadecimal, decimal) and its\n"
        "value, then the converter status. A reply too short for a row prints the rows before\n"
        "it, then fails. Exits with 1 when the board cannot be identified, has no weather\n"
        "module or the reading fails.\n"
        "\n") +
    kBoardOptionLines +
    "one JSON object per row, one per line: Caption, Raw, Value, Red; then\n"
    "                ADCStatus (and Red when the status sets a colour); ErrorMes on failure\n";

}  // namespace

int RunWeatherCommand(CliContext& context) {
  if (HelpAsked(context, kWeatherUsage)) {
    return kExitOk;
  }
  const BoardOptions options = TakeBoardOptions(context.args);
  ExpectNoArguments(context.args);

  return WithBoard(context, options, [&](Station& station, const BoardIdentification& found) {
    // The monitor shows the page to these models only; the others answer the order with one
    // byte, too short for any row.
    if (!found.identity.model.weatherPages) {
      throw Exception("The board has no weather module (model type " +
                      std::to_string(found.identity.TypeCam) + ")");
    }
    const TWeatherReadout readout = station.GetExtDatas();
    context.out << (options.json ? WeatherJson(readout) : WeatherText(readout)) << std::flush;
    if (readout.error) {
      std::rethrow_exception(readout.error);
    }
  });
}

}  // namespace vesk::cli
