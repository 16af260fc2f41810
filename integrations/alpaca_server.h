#pragma once

#include <optional>
#include <string>

#include "http/http_server.h"
#include "integrations/alpaca_api.h"

namespace vesk {

// The HTTP side of the Alpaca API: listens on the address and port (the project's HTTP
// server, on threads of its own) and hands each request to the API.
class AlpacaServer {
 public:
  explicit AlpacaServer(AlpacaApi& api);
  AlpacaServer(const AlpacaServer&) = delete;
  AlpacaServer& operator=(const AlpacaServer&) = delete;

  // Starts listening; the reason in the operator's words when it cannot. Port 0 takes any
  // free port.
  std::optional<std::string> Start(const std::string& bind, int port);
  // Ends the requests in progress and the threads.
  void Stop() { http_.Stop(); }
  // The port listened on; 0 when not running.
  int Port() const { return http_.Port(); }

 private:
  HttpResponse Answer(const HttpRequest& request);

  AlpacaApi& api_;
  HttpServer http_;
};

}  // namespace vesk
