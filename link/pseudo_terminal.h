#pragma once

#include <filesystem>
#include <string>

namespace vesk {

// A pseudo-terminal pair in raw mode, the stand-in for a serial line: the board side holds the
// master, the monitor opens the slave by its device path (or by a ports/COM<n> alias to it).
// POSIX only.
class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  int masterFd() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }

  // Links <folder>/ports/COM<number> to the slave, replacing an older link; the link is
  // removed again when this object ends.
  std::filesystem::path linkAsPort(const std::filesystem::path& folder, int number);

 private:
  int master_ = -1;
  // Held open so the master never reads end-of-file while no monitor has the port open.
  int slaveKeepAlive_ = -1;
  std::string slavePath_;
  std::filesystem::path alias_;
};

}  // namespace vesk
