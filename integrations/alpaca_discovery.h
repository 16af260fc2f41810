#pragma once

#include <optional>
#include <string>
#include <thread>

namespace vesk {

// The standard's UDP discovery: answers "alpacadiscovery1" from any client with the HTTP
// port, on a thread of its own.
class AlpacaDiscovery {
 public:
  static constexpr int kPort = 32227;

  AlpacaDiscovery() = default;
  ~AlpacaDiscovery();
  AlpacaDiscovery(const AlpacaDiscovery&) = delete;
  AlpacaDiscovery& operator=(const AlpacaDiscovery&) = delete;

  // Listens on the same address as the HTTP server; the reason when it cannot. Port 0
  // takes any free port.
  std::optional<std::string> Start(const std::string& bind, int port, int alpacaPort);
  void Stop();
  // The UDP port listened on; 0 when not running.
  int Port() const { return port_; }

 private:
  void Serve(int alpacaPort);

  int socket_ = -1;
  int stopPipe_[2] = {-1, -1};
  std::thread thread_;
  int port_ = 0;
};

}  // namespace vesk
