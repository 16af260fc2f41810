#pragma once

#include <string>

namespace vesk {

// The posting account as the main window holds it and the settings file keeps it. The
// password is kept and stored in clear text.
struct TFTPCredentials {
  std::string Host;
  std::string User;
  std::string Pass;
  std::string RemotePath;
  bool Passive = true;
};

}  // namespace vesk
