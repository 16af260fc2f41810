#pragma once

#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "integrations/alpaca_api.h"

namespace vesk {

// The HTTP side of the Alpaca API: listens on the address and port, on threads of its own,
// and hands each request to the API.
class AlpacaServer {
 public:
  explicit AlpacaServer(AlpacaApi& api);
  ~AlpacaServer();
  AlpacaServer(const AlpacaServer&) = delete;
  AlpacaServer& operator=(const AlpacaServer&) = delete;

  // Starts listening; the reason in the operator's words when it cannot. Port 0 takes any
  // free port.
  std::optional<std::string> Start(const std::string& bind, int port);
  // Ends the requests in progress and the threads.
  void Stop();
  // The port listened on; 0 when not running.
  int Port() const { return port_; }

 private:
  struct Http;

  AlpacaApi& api_;
  std::unique_ptr<Http> http_;
  std::thread listener_;
  int port_ = 0;
};

}  // namespace vesk
