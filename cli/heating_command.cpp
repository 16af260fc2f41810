#include "cli/heating_command.h"

#include <exception>
#include <optional>
#include <ostream>

#include "cli/board_session.h"
#include "cli/settings_output.h"
#include "common/exceptions.h"
#include "device/threshold_values.h"

namespace vesk::cli {
namespace {

const std::string kHeatingUsage =
    std::string(
        "Usage: vesk-cli heating --port N|--device PATH [--folder DIR] [--json]\n"
        "       vesk-cli heating set [--temp C] [--rh PCT] [--power PCT] [--auto on|off]\n"
        "                            --port N|--device PATH [--folder DIR] [--json]\n"
        "\n"
        "heating reads the dome heating thresholds stored in the board (with their raw\n"
        "counts) and polls it once for the power level, automatic heating and the heater.\n"
        "\n"
        "heating set writes new values; those not given keep the board's current ones,\n"
        "read first. It reads the thresholds back and polls again, and prints the result.\n"
        "  --temp C      temperature threshold, -100 to 100 °C\n"
        "  --rh PCT      humidity threshold, 0 to 100 %RH\n"
        "  --power PCT   maximum heater power, 1 to 100 %\n"
        "  --auto on|off automatic (threshold-driven) heating\n"
        "\n") +
    kBoardOptionLines +
    "one JSON object: TempSeuil, gSeuil_Temp_asWord, RHSeuil,\n"
    "                gSeuil_RH_asWord, gPowerHeaterLevel, gAutoTempRH_Heat, gHeaterON;\n"
    "                ErrorMes on failure\n";

// What heating set was asked to change.
struct NewHeating {
  std::optional<double> celsius;
  std::optional<double> percent;
  std::optional<std::uint8_t> power;
  std::optional<bool> automatic;
};

NewHeating TakeNewHeating(std::vector<std::string>& args) {
  NewHeating asked;
  if (const auto temp = TakeOption(args, "--temp")) {
    asked.celsius = NumberFrom("--temp", *temp, kTemperatureThresholdRange.minimum,
                               kTemperatureThresholdRange.maximum);
  }
  if (const auto rh = TakeOption(args, "--rh")) {
    asked.percent =
        NumberFrom("--rh", *rh, kHumidityThresholdRange.minimum, kHumidityThresholdRange.maximum);
  }
  if (const auto power = TakeOption(args, "--power")) {
    asked.power = static_cast<std::uint8_t>(
        WholeNumber("--power", *power, static_cast<long long>(kPowerLevelRange.minimum),
                    static_cast<long long>(kPowerLevelRange.maximum)));
  }
  if (const auto automatic = TakeOption(args, "--auto")) {
    asked.automatic = OnOff("--auto", *automatic);
  }
  if (!asked.celsius && !asked.percent && !asked.power && !asked.automatic) {
    throw UsageError("heating set needs --temp, --rh, --power or --auto");
  }
  return asked;
}

// The power level, automatic heating and the heater come with a poll.
void Poll(Station& station) {
  if (const std::string failure = PollOnce(station); !failure.empty()) {
    throw Exception(failure);
  }
}

}  // namespace

int RunHeatingCommand(CliContext& context) {
  if (HelpAsked(context, kHeatingUsage)) {
    return kExitOk;
  }
  const BoardOptions options = TakeBoardOptions(context.args);
  // The options' values are numbers and on/off, so "set" is the subcommand wherever it is.
  const bool set = TakeFlag(context.args, "set");
  const std::optional<NewHeating> asked =
      set ? std::optional(TakeNewHeating(context.args)) : std::nullopt;
  ExpectNoArguments(context.args);

  return WithBoard(context, options, [&](Station& station, const BoardIdentification&) {
    station.GetCurrentSetup();
    Poll(station);
    if (asked) {
      const HeatingState& held = station.Heating();
      const HeatingSetup setup{
          {asked->celsius ? TemperatureThresholdWord(*asked->celsius) : held.gSeuil_Temp_asWord,
           asked->percent ? HumidityThresholdWord(*asked->percent, station.Humidity())
                          : held.gSeuil_RH_asWord},
          asked->automatic.value_or(held.gAutoTempRH_Heat),
          asked->power.value_or(held.gPowerHeaterLevel)};
      station.UpdateSetup(setup);
      Poll(station);
    }
    context.out << (options.json ? HeatingJson(station.Heating(), station.Humidity())
                                 : HeatingText(station.Heating(), station.Humidity()))
                << std::flush;
  });
}

}  // namespace vesk::cli
