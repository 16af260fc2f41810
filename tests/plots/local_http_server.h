#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vesk::test {

// A real HTTP server on 127.0.0.1, in a thread of its own, that answers every request with
// the same bytes, or, given none, takes the connection and never answers.
class LocalHttpServer {
 public:
  explicit LocalHttpServer(std::optional<std::string> response);
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // "http://127.0.0.1:<port>/"
  std::string url() const;
  // The first line of each request received so far.
  std::vector<std::string> requestLines() const;

 private:
  void Serve();
  bool ReadRequest(int connection);

  std::optional<std::string> response_;
  int port_ = 0;  // before listener_, which sets it
  int listener_ = -1;
  int stop_[2] = {-1, -1};
  mutable std::mutex mutex_;
  std::vector<std::string> requestLines_;
  std::thread thread_;
};

// A whole HTTP/1.1 answer with the body.
std::string HttpResponse(int status, const std::string& body);

// A 127.0.0.1 address where nothing listens.
std::string ClosedPortUrl();

}  // namespace vesk::test
