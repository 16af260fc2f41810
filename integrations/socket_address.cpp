#include "integrations/socket_address.h"

#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#endif

#include <cerrno>
#include <cstring>

#include "http/listen_failure.h"

namespace vesk {

std::optional<SocketAddress> NumericAddress(const std::string& text, int port) {
  if (port < 0 || port > 65535) {
    return std::nullopt;
  }
  SocketAddress address;
  auto* v4 = reinterpret_cast<sockaddr_in*>(&address.storage);
  if (::inet_pton(AF_INET, text.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(static_cast<std::uint16_t>(port));
    address.length = sizeof(sockaddr_in);
    return address;
  }
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.storage);
  if (::inet_pton(AF_INET6, text.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(static_cast<std::uint16_t>(port));
    address.length = sizeof(sockaddr_in6);
    return address;
  }
  return std::nullopt;
}

int BoundPort(NativeSocket socket) {
  sockaddr_storage storage{};
  socklen_t length = sizeof storage;
  if (::getsockname(socket, reinterpret_cast<sockaddr*>(&storage), &length) != 0) {
    return 0;
  }
  if (storage.ss_family == AF_INET6) {
    return ntohs(reinterpret_cast<const sockaddr_in6*>(&storage)->sin6_port);
  }
  return ntohs(reinterpret_cast<const sockaddr_in*>(&storage)->sin_port);
}

std::string BindFailure(const std::string& address, int port, int error) {
#ifdef _WIN32
  // Winsock's own numbers for the same three.
  constexpr int kInUse = WSAEADDRINUSE, kNotHere = WSAEADDRNOTAVAIL, kRefused = WSAEACCES;
  const std::string other = "system error " + std::to_string(error);
#else
  constexpr int kInUse = EADDRINUSE, kNotHere = EADDRNOTAVAIL, kRefused = EACCES;
  const std::string other = std::strerror(error);
#endif
  switch (error) {
    case kInUse:
      return ListenFailure(address, port, ListenError::InUse);
    case kNotHere:
      return ListenFailure(address, port, ListenError::NotAnAddressHere);
    case kRefused:
      return ListenFailure(address, port, ListenError::NeedsPrivileges);
    default:
      return ListenFailure(address, port, ListenError::Other, other);
  }
}

}  // namespace vesk
