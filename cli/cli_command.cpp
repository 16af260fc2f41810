#include "cli/cli_command.h"

#include <algorithm>
#include <cmath>

#include "common/number_text.h"
#include "device/threshold_values.h"

namespace vesk::cli {

bool IsHelp(const std::string& arg) {
  return arg == "--help" || arg == "-h" || arg == "help";
}

std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& name) {
  for (auto it = args.begin(); it != args.end(); ++it) {
    if (*it == name) {
      if (it + 1 == args.end()) {
        throw UsageError(name + " needs a value");
      }
      std::string value = *(it + 1);
      args.erase(it, it + 2);
      return value;
    }
    if (it->starts_with(name + "=")) {
      std::string value = it->substr(name.size() + 1);
      args.erase(it);
      return value;
    }
  }
  return std::nullopt;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
  const auto found = std::find(args.begin(), args.end(), name);
  if (found == args.end()) {
    return false;
  }
  args.erase(found);
  return true;
}

void RejectUnknownOptions(const std::vector<std::string>& args) {
  for (const auto& arg : args) {
    if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    }
  }
}

double PositiveNumber(const std::string& option, const std::string& text) {
  double value = 0.0;
  if (!TextToFloat(text, value) || !std::isfinite(value) || value <= 0.0) {
    throw UsageError(option + " needs a positive number, not \"" + text + "\"");
  }
  return value;
}

long long WholeNumber(const std::string& option, const std::string& text, long long minimum,
                      long long maximum) {
  long long value = 0;
  if (!TextToInt(text, value) || value < minimum || value > maximum) {
    throw UsageError(SettingRefusal(
        option, text, {static_cast<double>(minimum), static_cast<double>(maximum)}, true));
  }
  return value;
}

double NumberFrom(const std::string& option, const std::string& text, double minimum,
                  double maximum) {
  double value = 0.0;
  if (!TextToFloat(text, value) || !InSettingRange(value, {minimum, maximum})) {
    throw UsageError(SettingRefusal(option, text, {minimum, maximum}));
  }
  return value;
}

bool OnOff(const std::string& what, const std::string& text) {
  if (text == "on" || text == "off") {
    return text == "on";
  }
  throw UsageError(what + " takes on or off, not \"" + text + "\"");
}

bool TakeSwitch(std::vector<std::string>& args, const std::string& what) {
  const auto word = std::find_if(args.begin(), args.end(),
                                 [](const std::string& a) { return !a.starts_with("-"); });
  if (word == args.end()) {
    throw UsageError(what + " takes on or off");
  }
  const bool on = OnOff(what, *word);
  args.erase(word);
  return on;
}

}  // namespace vesk::cli
