#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/event_log.h"

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
  // When set, each log line of the upload is handed to it too, on the worker thread, as to
  // the loader's own hand-over. The window's jobs set none: its loader hands over every line.
  LogHandOver RicheEdit;
};

}  // namespace vesk
