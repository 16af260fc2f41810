#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vesk {

// One upload job, handed to the worker by value.
struct TInfosServer {
  std::string ServerName;
  std::string UserName;
  std::string Password;
  std::vector<std::filesystem::path> LocalFiles;  // in upload order
  std::string RemotePath;
  bool Passive = true;
  bool TLS = false;  // explicit TLS on the control and data connections
  std::uint16_t Port = 21;
  // Trusted instead of the system's store when set; tests trust the certificate they made.
  std::filesystem::path CAFile;
};

}  // namespace vesk
