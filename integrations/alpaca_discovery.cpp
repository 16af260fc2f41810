#include "integrations/alpaca_discovery.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "integrations/socket_address.h"

namespace vesk {
namespace {

void CloseIfOpen(int& fd) {
  if (fd >= 0) {
    ::close(fd);
    fd = -1;
  }
}

}  // namespace

std::optional<std::string> AlpacaDiscovery::Start(const std::string& bind, int port,
                                                  int alpacaPort) {
  Stop();
  const auto address = NumericAddress(bind, port);
  if (!address) {
    return "\"" + bind + "\" is no IP address to listen on";
  }
  socket_ = ::socket(address->family(), SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (socket_ < 0) {
    return BindFailure(bind, port, errno);
  }
  // Every Alpaca server of the machine listens on the discovery port.
  const int yes = 1;
  ::setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  if (::bind(socket_, address->get(), address->length) != 0 || ::pipe2(stopPipe_, O_CLOEXEC)) {
    const std::string failure = BindFailure(bind, port, errno);
    CloseIfOpen(socket_);
    return failure;
  }
  port_ = BoundPort(socket_);
  thread_ = std::thread([this, alpacaPort] { Serve(alpacaPort); });
  return std::nullopt;
}

void AlpacaDiscovery::Stop() {
  if (thread_.joinable()) {
    const char stop = 1;
    while (::write(stopPipe_[1], &stop, 1) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  CloseIfOpen(socket_);
  CloseIfOpen(stopPipe_[0]);
  CloseIfOpen(stopPipe_[1]);
  port_ = 0;
}

void AlpacaDiscovery::Serve(int alpacaPort) {
  pollfd watched[2] = {{socket_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
  for (;;) {
    if (::poll(watched, 2, -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      return;
    }
    if (watched[1].revents != 0) {
      return;
    }
    char datagram[256];
    sockaddr_storage sender{};
    socklen_t senderLength = sizeof sender;
    const ssize_t got = ::recvfrom(socket_, datagram, sizeof datagram, MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (got <= 0) {
      continue;
    }
    if (const auto answer = Answer({datagram, static_cast<std::size_t>(got)}, alpacaPort)) {
      ::sendto(socket_, answer->data(), answer->size(), MSG_DONTWAIT,
               reinterpret_cast<const sockaddr*>(&sender), senderLength);
    }
  }
}

}  // namespace vesk
