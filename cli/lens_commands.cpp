#include "cli/lens_commands.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <ostream>

#include "cli/board_session.h"
#include "cli/json_writer.h"
#include "cli/lens_output.h"
#include "common/exceptions.h"
#include "common/number_text.h"
#include "lens/iris_orders.h"
#include "station/station.h"

namespace vesk::cli {
namespace {

const std::string kLensUsage =
    std::string(
        "Usage: vesk-cli lens --port N|--device PATH [--folder DIR] [--json]\n"
        "       vesk-cli lens aperture F --port N|--device PATH [--folder DIR] [--json]\n"
        "       vesk-cli lens iris close STEPS | iris open --port N|--device PATH [--folder DIR] "
        "[--json]\n"
        "       vesk-cli lens focus max|min|+N|-N --port N|--device PATH [--folder DIR] [--json]\n"
        "\n"
        "The Canon EF lens of a lens board, shown and driven as the monitor's lens pages do.\n"
        "Each command identifies the board first; a model that drives no lens is a failure.\n"
        "\n"
        "  (nothing)         poll once and print the lens: presence, identifier, name, focal\n"
        "                    length, distances d1 and d2, largest and smallest f-number and the\n"
        "                    apertures to choose from (with the older lens firmware, below 2.2:\n"
        "                    the raw lens bytes and the five fixed apertures)\n"
        "  aperture F        poll once, then set the aperture of f-number F (such as 5.6, 8 or\n"
        "                    f/8) from the lens's list: closed from fully open by its code less\n"
        "                    the code of the list's first entry (A4 FF 00, then A4 77 and the\n"
        "                    steps). With the older lens firmware F is one of 2.8, 5.6, 8, 11, 16\n"
        "  iris close STEPS  the \"Close Iris\" order A4 77 STEPS (0 to 255); prints the first "
        "two\n"
        "                    reply bytes as \"0x06 0x1F\"\n"
        "  iris open         the same order with A4 FF 00\n"
        "  focus max|min     \"Focus Max\" (A5 12 00 00) or \"Focus Min\" (A5 13 00 00)\n"
        "  focus +N|-N       move the focus by N, -32768 to 32767 (A5 14 and the offset)\n"
        "\n") +
    kBoardOptionLines +
    "one JSON object. The lens: PresenceAF, FirstByteAF, LensCheckCount and,\n"
    "                with a lens of the newer firmware, lensID, LensName, Focale (mm), d1\n"
    "                and d2 (m), FExtendedCANON, LabelAFmax, LabelAFmin, FACanonDiaphInf (the\n"
    "                names) and lensError when its f-numbers are not in the tables; older\n"
    "                firmware: LabelID_Obj, LabelCanonApertureMinMax, FACanonDiaphInf.\n"
    "                aperture: FrendlyName, HwCodeValue, steps. iris: LabelRetIris.\n"
    "                focus: command, offset. ErrorMes on failure\n"
    "\n"
    "An argument refused (an f-number not in the list, a count or offset out of range) is\n"
    "exit 2 and nothing is sent. Exit status: 0 done, 1 failed, 2 bad usage.\n";

enum class LensVerb { Show, Aperture, IrisClose, IrisOpen, FocusMax, FocusMin, FocusOffset };

struct LensAction {
  LensVerb verb = LensVerb::Show;
  std::string fText;  // aperture: as typed
  double f = 0;
  long long number = 0;  // iris close: steps; focus: offset
};

// "5.6", "f/5.6", "F/5.6", and "f5.6" as the older page's captions read.
std::optional<double> FNumberOf(std::string text) {
  for (const char* prefix : {"f/", "F/", "f", "F"}) {
    if (text.starts_with(prefix)) {
      text.erase(0, std::string(prefix).size());
      break;
    }
  }
  double value = 0;
  if (!TextToFloat(text, value) || !(value > 0)) {
    return std::nullopt;
  }
  return value;
}

LensAction ParseLensAction(std::vector<std::string> args) {
  LensAction action;
  if (args.empty()) {
    return action;
  }
  const std::string verb = args.front();
  // The words of the action come first: an offset such as -300 is not an option.
  const auto words = [&](std::size_t count, const char* usage) {
    if (args.size() < count) {
      throw UsageError(std::string("lens ") + usage);
    }
    ExpectNoArguments({args.begin() + static_cast<std::ptrdiff_t>(count), args.end()});
  };
  if (verb == "aperture") {
    words(2, "aperture needs an f-number F");
    action.verb = LensVerb::Aperture;
    action.fText = args[1];
    const auto f = FNumberOf(args[1]);
    if (!f) {
      throw UsageError("lens aperture needs an f-number such as 5.6, not \"" + args[1] + "\"");
    }
    action.f = *f;
  } else if (verb == "iris" && args.size() > 1 && args[1] == "close") {
    words(3, "iris close needs the steps, 0 to 255");
    action.verb = LensVerb::IrisClose;
    action.number = WholeNumber("lens iris close", args[2], 0, 255);
  } else if (verb == "iris" && args.size() > 1 && args[1] == "open") {
    words(2, "iris open");
    action.verb = LensVerb::IrisOpen;
  } else if (verb == "iris") {
    throw UsageError("lens iris needs close STEPS or open");
  } else if (verb == "focus") {
    words(2, "focus needs max, min, +N or -N");
    if (args[1] == "max") {
      action.verb = LensVerb::FocusMax;
    } else if (args[1] == "min") {
      action.verb = LensVerb::FocusMin;
    } else {
      action.verb = LensVerb::FocusOffset;
      action.number = WholeNumber("lens focus", args[1], -32768, 32767);
    }
  } else {
    ExpectNoArguments(args);
  }
  return action;
}

// One poll, its result; the poll's failure text raised.
TDataOUT PolledLens(Station& station) {
  TDataOUT data;
  if (const std::string failure = PollOnce(station, &data); !failure.empty()) {
    throw Exception(failure);
  }
  return data;
}

std::string JoinedNames(const TACanonDiaphInf& list) {
  std::string names;
  for (const TCanonDiaphInf& aperture : list) {
    names += (names.empty() ? "" : " ") + aperture.FrendlyName;
  }
  return names;
}

// The older lens firmware has no list: the five fixed apertures of its page.
std::string SetFixedAperture(Station& station, const LensAction& action, bool json) {
  const auto fixed =
      std::find_if(kFixedApertures.begin(), kFixedApertures.end(),
                   [&](const FixedAperture& a) { return FNumberOf(a.caption) == action.f; });
  if (fixed == kFixedApertures.end()) {
    throw UsageError("f/" + action.fText +
                     " is not one of the fixed apertures f2.8 f5.6 f8 f11 f16");
  }
  station.SetCanonDiaph(fixed->steps);
  if (json) {
    return JsonObject().add("FrendlyName", fixed->caption).add("steps", fixed->steps).text() + "\n";
  }
  return TextLine("Aperture:",
                  FormatText("%s, %d steps closed from fully open", fixed->caption, fixed->steps));
}

std::string SetListAperture(Station& station, const TDataOUT& data, const LensAction& action,
                            bool json) {
  const LensPoll& poll = station.LastLensPoll();
  if (!data.PresenceAF) {
    throw Exception("No lens: " + poll.texts.advanced->LabelPresAF2);
  }
  if (poll.lensError) {
    throw Exception(*poll.lensError);
  }
  const TACanonDiaphInf& list = station.Lens().FACanonDiaphInf;
  const auto chosen = std::find_if(list.begin(), list.end(), [&](const TCanonDiaphInf& a) {
    return FNumberOf(a.FrendlyName) == action.f;
  });
  if (chosen == list.end()) {
    throw UsageError(action.fText + " is not an aperture of this lens: " + JoinedNames(list));
  }
  std::uint8_t steps = 0;
  try {
    steps = ApertureListSteps(list, chosen - list.begin());
  } catch (const ERangeCheck& e) {
    throw UsageError(e.message() + ": " + chosen->FrendlyName + " has a code below " +
                     list.front().FrendlyName + "'s, the widest aperture of the list");
  }
  station.SetCanonDiaph(steps);
  if (json) {
    return JsonObject()
               .add("FrendlyName", chosen->FrendlyName)
               .add("HwCodeValue", chosen->HwCodeValue)
               .add("steps", steps)
               .text() +
           "\n";
  }
  return TextLine("Aperture:",
                  FormatText("%s (code 0x%02X), %d steps closed from %s (code 0x%02X)",
                             chosen->FrendlyName.c_str(), chosen->HwCodeValue, steps,
                             list.front().FrendlyName.c_str(), list.front().HwCodeValue));
}

std::string SendFocus(Station& station, const LensAction& action, bool json) {
  const std::int32_t AbsolFocus = station.Lens().AbsolFocus;
  const FocusOrder order = action.verb == LensVerb::FocusMax ? FocusMaxOrder(AbsolFocus)
                           : action.verb == LensVerb::FocusMin
                               ? FocusMinOrder()
                               : FocusOffsetOrder(action.number, AbsolFocus);
  station.SendFocusOrder(order);
  if (json) {
    return JsonObject().add("command", order.command).add("offset", int{order.offset}).text() +
           "\n";
  }
  const std::string sent = action.verb == LensVerb::FocusMax ? "Focus Max"
                           : action.verb == LensVerb::FocusMin
                               ? "Focus Min"
                               : FormatText("offset %d", order.offset);
  return TextLine("Focus:", sent + " sent");
}

std::string RunAction(Station& station, const DeviceIdentity& identity, const LensAction& action,
                      bool json) {
  switch (action.verb) {
    case LensVerb::Show: {
      const TDataOUT data = PolledLens(station);
      return json ? LensJson(station.LastLensPoll(), station.Lens(), data)
                  : LensText(station.LastLensPoll(), station.Lens(), data);
    }
    case LensVerb::Aperture: {
      const TDataOUT data = PolledLens(station);
      return UsesAdvancedLensPage(identity.Version) ? SetListAperture(station, data, action, json)
                                                    : SetFixedAperture(station, action, json);
    }
    case LensVerb::IrisClose:
    case LensVerb::IrisOpen: {
      const bool close = action.verb == LensVerb::IrisClose;
      const std::string feedback = IrisFeedbackText(
          station.CloseIris(close, close ? static_cast<std::uint8_t>(action.number) : 0));
      return json ? JsonObject().add("LabelRetIris", feedback).text() + "\n"
                  : TextLine("Feedback:", feedback);
    }
    default:
      return SendFocus(station, action, json);
  }
}

}  // namespace

int RunLensCommand(CliContext& context) {
  if (HelpAsked(context, kLensUsage)) {
    return kExitOk;
  }
  const BoardOptions options = TakeBoardOptions(context.args);
  const LensAction action = ParseLensAction(context.args);
  return WithBoard(context, options, [&](Station& station, const BoardIdentification& found) {
    const DeviceIdentity& identity = found.identity;
    if (!identity.DriveEFlens_intf) {
      throw Exception(FormatText("The board (model %d) drives no lens", identity.TypeCam));
    }
    context.out << RunAction(station, identity, action, options.json) << std::flush;
  });
}

}  // namespace vesk::cli
