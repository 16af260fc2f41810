#include "local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace vesk::test {
namespace {

int ListenOnLoopback(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(fd, 8) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no listening socket on 127.0.0.1");
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

LocalHttpServer::LocalHttpServer(std::optional<std::string> response)
    : response_(std::move(response)), listener_(ListenOnLoopback(port_)) {
  if (::pipe(stop_) != 0) {
    throw std::runtime_error("no pipe");
  }
  thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  const char byte = 0;
  (void)!::write(stop_[1], &byte, 1);
  thread_.join();
  ::close(listener_);
  ::close(stop_[0]);
  ::close(stop_[1]);
}

std::string LocalHttpServer::url() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

std::vector<std::string> LocalHttpServer::requestLines() const {
  std::lock_guard lock(mutex_);
  return requestLines_;
}

void LocalHttpServer::Serve() {
  std::vector<int> held;  // connections left unanswered until the server stops
  for (;;) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN) != 0) {
      break;
    }
    const int connection = ::accept(listener_, nullptr, nullptr);
    if (connection < 0) {
      continue;
    }
    if (!ReadRequest(connection)) {
      ::close(connection);
      break;
    }
    if (!response_) {
      held.push_back(connection);
      continue;
    }
    for (std::size_t sent = 0; sent < response_->size();) {
      const ssize_t n =
          ::send(connection, response_->data() + sent, response_->size() - sent, MSG_NOSIGNAL);
      if (n <= 0) {
        break;
      }
      sent += static_cast<std::size_t>(n);
    }
    ::shutdown(connection, SHUT_WR);
    ::close(connection);
  }
  for (const int connection : held) {
    ::close(connection);
  }
}

// Reads the request head; false when the server is told to stop meanwhile.
bool LocalHttpServer::ReadRequest(int connection) {
  std::string head;
  while (head.find("\r\n\r\n") == std::string::npos) {
    pollfd fds[2] = {{connection, POLLIN, 0}, {stop_[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN) != 0) {
      return false;
    }
    char buffer[1024];
    const ssize_t n = ::recv(connection, buffer, sizeof(buffer), 0);
    if (n <= 0) {
      break;
    }
    head.append(buffer, static_cast<std::size_t>(n));
  }
  std::lock_guard lock(mutex_);
  requestLines_.push_back(head.substr(0, head.find("\r\n")));
  return true;
}

std::string HttpResponse(int status, const std::string& body) {
  return "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") +
         "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

std::string ClosedPortUrl() {
  int port = 0;
  ::close(ListenOnLoopback(port));
  return "http://127.0.0.1:" + std::to_string(port) + "/";
}

}  // namespace vesk::test
