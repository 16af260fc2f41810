#include "tests/cli/board_cli.h"

#include <clocale>
#include <fstream>
#include <utility>

namespace vesk::test {

void BoardCli::SetUp() {
  std::setlocale(LC_ALL, "C");
}

void BoardCli::startBoard(int port, std::vector<std::string> args) {
  port_ = port;
  ordersTaken_ = 0;
  args.insert(args.end(), {"--folder", folder.path().string(), "--port", std::to_string(port),
                           "--record", (folder / "orders.txt").string()});
  board_ = std::make_unique<SimProcess>(VESK_BOARD_SIM, std::move(args));
  // The line comes once the port's link is in place.
  ASSERT_FALSE(board_->firstLine().empty()) << "the simulated board did not start";
}

CliResult BoardCli::run(const std::string& command, std::vector<std::string> extra) {
  std::vector<std::string> args = {
      "--log-folder", folder.path().string(), command, "--port", std::to_string(port_),
      "--folder",     folder.path().string()};
  args.insert(args.end(), extra.begin(), extra.end());
  return RunCli(folder.path(), std::move(args));
}

std::string BoardCli::portAlias() const {
  return (folder / "ports" / ("COM" + std::to_string(port_))).string();
}

std::vector<std::string> BoardCli::takeOrders() {
  std::ifstream record(folder / "orders.txt");
  std::vector<std::string> orders;
  std::size_t n = 0;
  for (std::string line; std::getline(record, line); ++n) {
    if (n >= ordersTaken_) {
      orders.push_back(line);
    }
  }
  ordersTaken_ = n;
  return orders;
}

}  // namespace vesk::test
