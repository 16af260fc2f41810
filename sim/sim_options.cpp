#include "sim/sim_options.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "common/exceptions.h"
#include "common/number_text.h"
#include "sim/model_presets.h"

namespace vesk::sim {
namespace {

[[noreturn]] void Refuse(const std::string& option, const std::string& why) {
  throw Exception(option + ": " + why);
}

long long Integer(const std::string& option, const std::string& text, long long low,
                  long long high) {
  long long value = 0;
  if (!TextToInt(text, value, true) || value < low || value > high) {
    Refuse(option, "'" + text + "' is not a number from " + std::to_string(low) + " to " +
                       std::to_string(high));
  }
  return value;
}

std::uint8_t Byte(const std::string& option, const std::string& text) {
  return static_cast<std::uint8_t>(Integer(option, text, 0, 255));
}

void ApplyPreset(SimOptions& options, const std::string& name) {
  const ModelPreset* preset = FindPreset(name);
  if (preset == nullptr) {
    Refuse("--preset", "no model is called '" + name + "' (see --help)");
  }
  BoardIdentity& id = options.setup.identity;
  id.type = preset->type;
  id.major = preset->major;
  id.minor = preset->minor;
  id.feature = preset->feature;
}

// 2.20 is minor 20 and 2.2 minor 2: the board sends the two numbers as they are written.
void ApplyFirmware(BoardIdentity& id, const std::string& text) {
  const auto point = text.find('.');
  if (point == std::string::npos) {
    Refuse("--firmware", "'" + text + "' is not MAJOR.MINOR");
  }
  id.major = Byte("--firmware", text.substr(0, point));
  id.minor = Byte("--firmware", text.substr(point + 1));
}

void ApplySerial(BoardIdentity& id, const std::string& text) {
  if (text.size() != 6 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    Refuse("--serial", "'" + text + "' is not six digits");
  }
  id.serial = text;
}

void ApplyLensCodes(LensSetup& lens, const std::string& text) {
  const auto comma = text.find(',');
  if (comma == std::string::npos) {
    Refuse("--lens-codes", "'" + text + "' is not two codes A,B");
  }
  lens.apertureCodeA = Byte("--lens-codes", text.substr(0, comma));
  lens.apertureCodeB = Byte("--lens-codes", text.substr(comma + 1));
}

// "C,RH": a temperature in °C and a relative humidity from 0 to 100 %.
HeldAir OutsideAir(const std::string& text) {
  const auto comma = text.find(',');
  HeldAir air;
  if (comma == std::string::npos || !TextToFloat(text.substr(0, comma), air.celsius) ||
      !TextToFloat(text.substr(comma + 1), air.percent) || !(air.celsius >= -60) ||
      !(air.celsius <= 80) || !(air.percent >= 0) || !(air.percent <= 100)) {
    Refuse("--outside", "'" + text + "' is not C,RH (-60 to 80 °C, 0 to 100 %)");
  }
  return air;
}

double Speed(const std::string& text) {
  double value = 0;
  if (!TextToFloat(text, value) || !(value > 0) || value > 1e6) {
    Refuse("--speed", "'" + text + "' is not a factor above 0");
  }
  return value;
}

using ValueOption = std::function<void(SimOptions&, const std::string&)>;
using FlagOption = std::function<void(SimOptions&)>;

const std::map<std::string, ValueOption>& ValueOptions() {
  static const std::map<std::string, ValueOption> options{
      {"--port",
       [](SimOptions& o, const std::string& v) { o.port = Integer("--port", v, 1, 255); }},
      {"--folder", [](SimOptions& o, const std::string& v) { o.folder = v; }},
      {"--preset", [](SimOptions&, const std::string&) {}},  // applied first
      {"--model",
       [](SimOptions& o, const std::string& v) { o.setup.identity.type = Byte("--model", v); }},
      {"--firmware",
       [](SimOptions& o, const std::string& v) { ApplyFirmware(o.setup.identity, v); }},
      {"--feature", [](SimOptions& o,
                       const std::string& v) { o.setup.identity.feature = Byte("--feature", v); }},
      {"--serial", [](SimOptions& o, const std::string& v) { ApplySerial(o.setup.identity, v); }},
      {"--lens-id",
       [](SimOptions& o, const std::string& v) {
         o.setup.lens.id = static_cast<std::uint16_t>(Integer("--lens-id", v, 0, 0xFFFF));
       }},
      {"--lens-codes",
       [](SimOptions& o, const std::string& v) { ApplyLensCodes(o.setup.lens, v); }},
      {"--lens-name", [](SimOptions& o, const std::string& v) { o.setup.lens.name = v; }},
      {"--seed",
       [](SimOptions& o, const std::string& v) {
         o.setup.seed = static_cast<std::uint32_t>(Integer("--seed", v, 0, 0xFFFFFFFF));
       }},
      {"--speed", [](SimOptions& o, const std::string& v) { o.speed = Speed(v); }},
      {"--outside",
       [](SimOptions& o, const std::string& v) { o.setup.outsideAir = OutsideAir(v); }},
      {"--record", [](SimOptions& o, const std::string& v) { o.record = v; }},
      {"--delay",
       [](SimOptions& o, const std::string& v) {
         o.setup.faults.delay = std::chrono::milliseconds(Integer("--delay", v, 0, 60000));
       }},
      {"--bad-checksum-every",
       [](SimOptions& o, const std::string& v) {
         o.setup.faults.badChecksumEvery =
             static_cast<unsigned>(Integer("--bad-checksum-every", v, 1, 1000000));
       }},
      {"--fault-mix",
       [](SimOptions& o, const std::string& v) {
         o.setup.faults.mixPercent = static_cast<unsigned>(Integer("--fault-mix", v, 0, 100));
       }},
      {"--data-ext-length",
       [](SimOptions& o, const std::string& v) {
         o.setup.faults.dataExtLength =
             static_cast<std::size_t>(Integer("--data-ext-length", v, 1, 19));
       }},
  };
  return options;
}

const std::map<std::string, FlagOption>& FlagOptions() {
  static const std::map<std::string, FlagOption> options{
      {"--help", [](SimOptions& o) { o.help = true; }},
      {"--no-lens", [](SimOptions& o) { o.setup.lens.present = false; }},
      {"--lens-name-unknown", [](SimOptions& o) { o.setup.lens.knowsNameOrder = false; }},
      {"--silent", [](SimOptions& o) { o.setup.faults.silent = true; }},
      {"--bad-start", [](SimOptions& o) { o.setup.faults.badStart = true; }},
      {"--short-reply", [](SimOptions& o) { o.setup.faults.shortReply = true; }},
      {"--long-length", [](SimOptions& o) { o.setup.faults.overLongLength = true; }},
      {"--refuse-settings", [](SimOptions& o) { o.setup.faults.refuseSettings = true; }},
      {"--short-version", [](SimOptions& o) { o.setup.faults.shortVersion = true; }},
      {"--converter-faulted", [](SimOptions& o) { o.setup.faults.converterFaulted = true; }},
  };
  return options;
}

struct Argument {
  std::string name;
  std::optional<std::string> value;
};

// "--name value" and "--name=value" alike.
std::vector<Argument> Split(const std::vector<std::string>& args) {
  std::vector<Argument> result;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (equals != std::string::npos) {
      result.push_back({name, arg.substr(equals + 1)});
    } else if (ValueOptions().contains(name)) {
      if (i + 1 == args.size()) {
        Refuse(name, "needs a value");
      }
      result.push_back({name, args[++i]});
    } else {
      result.push_back({name, std::nullopt});
    }
  }
  return result;
}

}  // namespace

SimOptions ParseSimOptions(const std::vector<std::string>& args) {
  const std::vector<Argument> arguments = Split(args);
  SimOptions options;
  std::string preset(kDefaultPreset);
  for (const Argument& a : arguments) {
    if (a.name == "--preset" && a.value) {
      preset = *a.value;
    }
  }
  ApplyPreset(options, preset);
  for (const Argument& a : arguments) {
    if (const auto value = ValueOptions().find(a.name); value != ValueOptions().end()) {
      value->second(options, *a.value);
    } else if (const auto flag = FlagOptions().find(a.name); flag != FlagOptions().end()) {
      if (a.value) {
        Refuse(a.name, "takes no value");
      }
      flag->second(options);
    } else {
      Refuse(a.name, "unknown option (see --help)");
    }
  }
  return options;
}

}  // namespace vesk::sim
