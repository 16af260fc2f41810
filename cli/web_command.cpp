#include "cli/web_command.h"

#include <filesystem>
#include <iostream>
#include <string>

#include "common/program_folder.h"
#include "web/password_hash.h"

namespace vesk::cli {
namespace {

constexpr const char* kUsage =
    "Usage: vesk-cli web password [--folder DIR]\n"
    "\n"
    "  password  sets the password of the station's web page (section \"Web\" of\n"
    "            DIR/VeskLevel.ini), read from the first line of standard input; only a\n"
    "            salted hash is kept, in DIR/VeskWeb.hash (its owner's only). Without a\n"
    "            password the page is read-only; with one, the board's operations need a\n"
    "            login. A running monitor or serve takes the new password at the next login.\n"
    "  --folder DIR  the program folder (default: this program's folder)\n";

}  // namespace

int RunWebCommand(CliContext& context) {
  if (context.args.empty()) {
    throw UsageError("web needs a subcommand: password");
  }
  if (IsHelp(context.args.front()) || (context.args.size() > 1 && IsHelp(context.args[1]))) {
    context.out << kUsage;
    return kExitOk;
  }
  const std::string subcommand = context.args.front();
  context.args.erase(context.args.begin());
  if (subcommand != "password") {
    throw UsageError("unknown web subcommand \"" + subcommand + "\"");
  }
  const auto folder = TakeOption(context.args, "--folder");
  RejectUnknownOptions(context.args);
  if (!context.args.empty()) {
    throw UsageError("web password takes no argument: the password comes on standard input");
  }
  std::string password;
  std::getline(std::cin, password);
  if (!password.empty() && password.back() == '\r') {
    password.pop_back();
  }
  if (password.empty()) {
    context.err << "No password on standard input: nothing changed\n";
    return kExitFailure;
  }
  const std::filesystem::path dir = folder ? std::filesystem::path(*folder) : ProgramFolder();
  WritePasswordHash(dir, HashPassword(password));
  context.out << "Web password set in " << PasswordFile(dir).string() << "\n";
  return kExitOk;
}

}  // namespace vesk::cli
