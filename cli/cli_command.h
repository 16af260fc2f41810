#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace vesk::cli {

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// What a command receives: its own arguments (after its name) and where to write.
struct CliContext {
  std::vector<std::string> args;
  std::ostream& out;
  std::ostream& err;
  // The folder of --log-folder, when given: a command that keeps its own program folder
  // logs there only when asked to.
  std::optional<std::string> logFolder = std::nullopt;
};

// One top-level command (`history`, …). A new command is a file of its own with a run
// function, and one line in the table of main.cpp.
struct CliCommand {
  const char* name;
  const char* summary;
  int (*run)(CliContext& context);
};

// Bad usage: the message is shown with a hint to --help and the exit code is kExitUsage.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool IsHelp(const std::string& arg);

// Takes "--name value" or "--name=value" out of args; nullopt when absent.
std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& name);

// Takes the flag "--name" out of args; true when it was there.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);

// Raises UsageError when an argument left in args looks like an option.
void RejectUnknownOptions(const std::vector<std::string>& args);

double PositiveNumber(const std::string& option, const std::string& text);

// A whole number from minimum to maximum, else UsageError.
long long WholeNumber(const std::string& option, const std::string& text, long long minimum,
                      long long maximum);

// A number from minimum to maximum (the point as decimal separator), else UsageError.
double NumberFrom(const std::string& option, const std::string& text, double minimum,
                  double maximum);

// "on" or "off", else UsageError naming what.
bool OnOff(const std::string& what, const std::string& text);

// Takes the first argument that is not an option, which must be on or off.
bool TakeSwitch(std::vector<std::string>& args, const std::string& what);

}  // namespace vesk::cli
