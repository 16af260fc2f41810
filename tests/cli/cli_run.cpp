#include "tests/cli/cli_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "tests/support/temp_folder.h"

namespace vesk::test {

CliResult RunCli(const std::filesystem::path& folder, std::vector<std::string> args) {
  return RunProgram(folder, VESK_CLI_PATH, std::move(args));
}

CliResult RunProgram(const std::filesystem::path& folder, const std::string& program,
                     std::vector<std::string> args) {
  const auto outFile = folder / "stdout.txt";
  const auto errFile = folder / "stderr.txt";
  const pid_t child = fork();
  if (child == 0) {
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (auto& arg : args) {
      argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  CliResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFile(outFile);
  result.err = ReadFile(errFile);
  return result;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

}  // namespace vesk::test
