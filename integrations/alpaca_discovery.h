#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace vesk {

// The standard's UDP discovery: answers "alpacadiscovery1" from any client with the HTTP
// port, on a thread of its own (POSIX sockets, or Winsock in alpaca_discovery_win32.cpp).
class AlpacaDiscovery {
 public:
  static constexpr int kPort = 32227;
  // The datagram's first bytes; the port is not told to a stray datagram.
  static constexpr std::string_view kQuestion = "alpacadiscovery1";

  AlpacaDiscovery() = default;
  ~AlpacaDiscovery() { Stop(); }
  AlpacaDiscovery(const AlpacaDiscovery&) = delete;
  AlpacaDiscovery& operator=(const AlpacaDiscovery&) = delete;

  // Listens on the same address as the HTTP server; the reason when it cannot. Port 0
  // takes any free port.
  std::optional<std::string> Start(const std::string& bind, int port, int alpacaPort);
  void Stop();
  // The UDP port listened on; 0 when not running.
  int Port() const { return port_; }

  // The answer to a datagram: the HTTP port to the question, nothing to a stray datagram.
  static std::optional<std::string> Answer(std::string_view datagram, int alpacaPort) {
    if (!datagram.starts_with(kQuestion)) {
      return std::nullopt;
    }
    return "{\"AlpacaPort\":" + std::to_string(alpacaPort) + "}";
  }

 private:
  void Serve(int alpacaPort);

#ifdef _WIN32
  // alpaca_discovery_win32.cpp: a SOCKET, and the events of its datagrams and of the stop.
  std::uintptr_t socket_ = ~std::uintptr_t{0};
  void* events_[2] = {nullptr, nullptr};
#else
  int socket_ = -1;
  int stopPipe_[2] = {-1, -1};
#endif
  std::thread thread_;
  int port_ = 0;
};

}  // namespace vesk
