#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// The posting account as the main window holds it and the settings file keeps it. The
// password is kept and stored in clear text; with TLS it crosses the network encrypted.
struct TFTPCredentials {
  std::string Host;
  std::string User;
  std::string Pass;
  std::string RemotePath;
  bool Passive = true;
  bool TLS = false;  // explicit FTPS, the server's certificate verified
  std::uint16_t Port = 21;
};

}  // namespace vesk
