#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"

namespace vesk::test {

// A simulated board on ports/COM<port> of the test's folder, and vesk-cli pointed at it. The
// board writes down every order it receives.
class BoardCli : public ::testing::Test {
 protected:
  void SetUp() override;

  void startBoard(int port, std::vector<std::string> args);

  // vesk-cli COMMAND --port <port> --folder <folder> extra...
  CliResult run(const std::string& command, std::vector<std::string> extra = {});

  std::string portAlias() const;

  // The orders the board received since the last call, one hex line each ("9E 09 9A ...").
  std::vector<std::string> takeOrders();

  TempFolder folder;
  int port_ = 0;
  std::unique_ptr<SimProcess> board_;

 private:
  std::size_t ordersTaken_ = 0;
};

}  // namespace vesk::test
