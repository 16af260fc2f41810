#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <sys/socket.h>
#endif

#include <optional>
#include <string>

namespace vesk {

// A socket as the system names it (socket_address.cpp, socket_address_win32.cpp).
#ifdef _WIN32
using NativeSocket = SOCKET;
#else
using NativeSocket = int;
#endif

struct SocketAddress {
  sockaddr_storage storage{};
  socklen_t length = 0;
  int family() const { return storage.ss_family; }
  const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

// An IPv4 or IPv6 address written as numbers ("127.0.0.1", "0.0.0.0", "::1"), with a port.
// Host names are refused: listening must never wait on a name server.
std::optional<SocketAddress> NumericAddress(const std::string& text, int port);

// The port a bound socket was given (the one asked for, or the system's choice for 0).
int BoundPort(NativeSocket socket);

// Why an address cannot be listened on, in the operator's words ("port 11111 on 127.0.0.1 is
// in use"), from the error of a bind (errno, or WSAGetLastError() on Windows).
std::string BindFailure(const std::string& address, int port, int error);

}  // namespace vesk
