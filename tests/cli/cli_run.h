#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vesk::test {

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the built vesk-cli with args and waits for it; its standard output and error pass
// through files in folder.
CliResult RunCli(const std::filesystem::path& folder, std::vector<std::string> args);

// The same for any program, named by its full path.
CliResult RunProgram(const std::filesystem::path& folder, const std::string& program,
                     std::vector<std::string> args);

// The lines of an output, without their line ends.
std::vector<std::string> Lines(const std::string& text);

}  // namespace vesk::test
