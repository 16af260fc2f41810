#include "link/pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/exceptions.h"

namespace vesk {
namespace {

void MakeRaw(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) == 0) {
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
  }
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    const std::string reason = std::strerror(errno);
    if (master_ >= 0) {
      close(master_);
    }
    throw Exception("Cannot create a pseudo-terminal: " + reason);
  }
  char name[128];
  if (ptsname_r(master_, name, sizeof name) != 0) {
    close(master_);
    throw Exception("Cannot name the pseudo-terminal");
  }
  slavePath_ = name;
  slaveKeepAlive_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slaveKeepAlive_ >= 0) {
    MakeRaw(slaveKeepAlive_);
  }
  MakeRaw(master_);
}

PseudoTerminal::~PseudoTerminal() {
  if (!alias_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(alias_, ignored);
  }
  if (slaveKeepAlive_ >= 0) {
    close(slaveKeepAlive_);
  }
  close(master_);
}

std::filesystem::path PseudoTerminal::linkAsPort(const std::filesystem::path& folder, int number) {
  const auto ports = folder / "ports";
  std::filesystem::create_directories(ports);
  const auto alias = ports / ("COM" + std::to_string(number));
  std::error_code ignored;
  std::filesystem::remove(alias, ignored);
  std::filesystem::create_symlink(slavePath_, alias);
  alias_ = alias;
  return alias;
}

}  // namespace vesk
