#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "http/http_message.h"

namespace vesk {

// An HTTP/1.1 server (Boost.Beast on Boost.Asio, the same on Linux and Windows): listens on
// one numeric address and port and hands each request to the handler, on a few threads of its
// own. Every connection is asynchronous, so a hundred clients keeping their connections open,
// or listening to an open-ended answer, hold no thread and are all answered at once. The
// listening socket takes only SO_REUSEADDR (SO_EXCLUSIVEADDRUSE on Windows), so a second
// server cannot share the port; a queue of SOMAXCONN; every connection has TCP_NODELAY, so an
// answer leaves at once instead of waiting for the client's delayed acknowledgement.
class HttpServer {
 public:
  struct Limits {
    std::size_t largestBody = 64 * 1024;
    std::size_t largestHeader = 16 * 1024;
    // How long a kept connection may stay quiet between two requests, and a request take.
    std::chrono::milliseconds idle{2000};
    unsigned threads = 2;
  };

  HttpServer(HttpHandler handler, Limits limits);
  explicit HttpServer(HttpHandler handler);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Starts listening; the reason in the operator's words when it cannot. Port 0 takes any
  // free port. Host names are refused: listening never waits on a name server.
  std::optional<std::string> Start(const std::string& bind, int port);
  // Closes the listening socket and every connection, and ends the threads.
  void Stop();
  // The port listened on; 0 when not running.
  int Port() const { return port_; }
  // Runs job on the server's threads, one job at a time in the order posted (the live page's
  // events, so that a poll never waits on its clients); dropped when not running. Any thread.
  void Post(std::function<void()> job);

  struct Context;

 private:
  const HttpHandler handler_;
  const Limits limits_;
  std::shared_ptr<Context> context_;
  int port_ = 0;
};

}  // namespace vesk
