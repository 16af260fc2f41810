// The discovery over Winsock: the thread waits on the socket's event and the stop's event.
#include <winsock2.h>
#include <ws2tcpip.h>


#include "integrations/alpaca_discovery.h"
#include "integrations/socket_address.h"

namespace vesk {
namespace {

constexpr std::uintptr_t kNoSocket = INVALID_SOCKET;

}  // namespace

std::optional<std::string> AlpacaDiscovery::Start(const std::string& bind, int port,
                                                  int alpacaPort) {
  Stop();
  const auto address = NumericAddress(bind, port);
  if (!address) {
    return "\"" + bind + "\" is no IP address to listen on";
  }
  // Counted: every start has its cleanup in Stop.
  WSADATA data;
  if (const int error = WSAStartup(MAKEWORD(2, 2), &data); error != 0) {
    return BindFailure(bind, port, error);
  }
  const SOCKET s = ::socket(address->family(), SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) {
    const int error = WSAGetLastError();
    WSACleanup();
    return BindFailure(bind, port, error);
  }
  socket_ = s;
  // Every Alpaca server of the machine listens on the discovery port.
  const BOOL yes = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
  events_[0] = WSACreateEvent();
  events_[1] = WSACreateEvent();
  if (::bind(s, address->get(), address->length) != 0 || events_[0] == WSA_INVALID_EVENT ||
      events_[1] == WSA_INVALID_EVENT || WSAEventSelect(s, events_[0], FD_READ) != 0) {
    const std::string failure = BindFailure(bind, port, WSAGetLastError());
    Stop();
    return failure;
  }
  port_ = BoundPort(s);
  thread_ = std::thread([this, alpacaPort] { Serve(alpacaPort); });
  return std::nullopt;
}

void AlpacaDiscovery::Stop() {
  if (thread_.joinable()) {
    WSASetEvent(events_[1]);
    thread_.join();
  }
  for (void*& event : events_) {
    if (event != nullptr && event != WSA_INVALID_EVENT) {
      WSACloseEvent(event);
    }
    event = nullptr;
  }
  if (socket_ != kNoSocket) {
    ::closesocket(static_cast<SOCKET>(socket_));
    socket_ = kNoSocket;
    WSACleanup();
  }
  port_ = 0;
}

void AlpacaDiscovery::Serve(int alpacaPort) {
  const SOCKET s = static_cast<SOCKET>(socket_);
  for (;;) {
    const DWORD woken = WSAWaitForMultipleEvents(2, events_, FALSE, WSA_INFINITE, FALSE);
    if (woken != WSA_WAIT_EVENT_0) {
      return;  // the stop, or a wait that failed
    }
    WSAResetEvent(events_[0]);
    // Every datagram waiting now: the event is set again only by a new one.
    for (;;) {
      char datagram[256];
      sockaddr_storage sender{};
      int senderLength = sizeof sender;
      const int got = ::recvfrom(s, datagram, sizeof datagram, 0,
                                 reinterpret_cast<sockaddr*>(&sender), &senderLength);
      if (got == SOCKET_ERROR) {
        // A datagram longer than the buffer is a stray one, a reset the answer to a client
        // gone; anything else: none is left.
        if (const int error = WSAGetLastError(); error == WSAEMSGSIZE || error == WSAECONNRESET) {
          continue;
        }
        break;
      }
      if (const auto answer = Answer({datagram, static_cast<std::size_t>(got)}, alpacaPort)) {
        ::sendto(s, answer->data(), static_cast<int>(answer->size()), 0,
                 reinterpret_cast<const sockaddr*>(&sender), senderLength);
      }
    }
  }
}

}  // namespace vesk
