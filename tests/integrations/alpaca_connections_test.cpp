// The Alpaca server with many clients at once, each keeping its connection open between
// requests as HTTP/1.1 clients do.
#include <dirent.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

#include "integrations/socket_address.h"
#include "tests/integrations/alpaca_rig.h"

namespace vesk {
namespace {

using test::AlpacaRig;

// One connection of a client sending requests by hand; the reads give up after 10 s, which
// only ends a test that would hang.
class KeptConnection {
 public:
  explicit KeptConnection(int port) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    const timeval limit{10, 0};
    ::setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~KeptConnection() { ::close(socket_); }
  KeptConnection(const KeptConnection&) = delete;
  KeptConnection& operator=(const KeptConnection&) = delete;

  // A keep-alive GET; the whole answer, or what came of it before the connection ended.
  std::string Get(const std::string& path) {
    const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    if (!connected_ || ::send(socket_, request.data(), request.size(), MSG_NOSIGNAL) !=
                           static_cast<ssize_t>(request.size())) {
      return {};
    }
    std::string answer;
    char buffer[4096];
    while (true) {
      const auto end = answer.find("\r\n\r\n");
      const auto length = answer.find("Content-Length: ");
      if (end != std::string::npos && length != std::string::npos && length < end &&
          answer.size() >= end + 4 + std::stoul(answer.substr(length + 16))) {
        return answer;
      }
      const ssize_t got = ::recv(socket_, buffer, sizeof buffer, 0);
      if (got <= 0) {
        return answer;
      }
      answer.append(buffer, static_cast<std::size_t>(got));
    }
  }

  // Neither closed by the server nor holding anything unread.
  bool StillOpen() const {
    pollfd readable{socket_, POLLIN, 0};
    return ::poll(&readable, 1, 0) == 0;
  }

 private:
  int socket_;
  bool connected_ = false;
};

bool Answered(const std::string& answer) {
  return answer.starts_with("HTTP/1.1 200 OK\r\n") &&
         answer.find("\"ErrorNumber\":0") != std::string::npos;
}

constexpr char kName[] = "/api/v1/observingconditions/0/name";

// Before, three threads took the connections in turn, each held until its client had been
// quiet for the keep-alive timeout: the fourth client waited for the first one's connection
// to be closed.
TEST(AlpacaConnections, ClientsKeepingTheirConnectionsDoNotHoldOthersBack) {
  AlpacaRig rig;
  const int port = rig.integrations().AlpacaPort();
  std::vector<std::unique_ptr<KeptConnection>> clients;
  for (int i = 0; i < 16; ++i) {
    clients.push_back(std::make_unique<KeptConnection>(port));
    ASSERT_TRUE(Answered(clients.back()->Get(kName))) << "client " << i;
  }
  for (std::size_t i = 0; i < clients.size(); ++i) {
    EXPECT_TRUE(clients[i]->StillOpen()) << "client " << i << " was answered after its "
                                         << "connection had been closed";
    EXPECT_TRUE(Answered(clients[i]->Get(kName))) << "client " << i << ", second request";
  }
}

// The server's own sockets on its port, found among this process's descriptors.
std::vector<int> ServerSockets(int port) {
  std::vector<int> sockets;
  DIR* folder = ::opendir("/proc/self/fd");
  while (dirent* entry = folder != nullptr ? ::readdir(folder) : nullptr) {
    const int fd = std::atoi(entry->d_name);
    int type = 0;
    socklen_t length = sizeof type;
    if (fd > 2 && ::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) == 0 &&
        type == SOCK_STREAM && BoundPort(fd) == port) {
      sockets.push_back(fd);
    }
  }
  if (folder != nullptr) {
    ::closedir(folder);
  }
  return sockets;
}

int IntOption(int socket, int level, int name) {
  int value = 0;
  socklen_t length = sizeof value;
  ::getsockopt(socket, level, name, &value, &length);
  return value;
}

// A hundred clients connecting at once wait in the listen queue: the library's own queue of
// five overflowed, and the system repeated those handshakes seconds later. An answer leaves
// at once: the library writes the header and the body apart, and the body used to wait for
// the client's delayed acknowledgement of the header, 40 ms on every kept connection.
TEST(AlpacaConnections, ConnectionsAreQueuedAndAnswersLeaveAtOnce) {
  AlpacaRig rig;
  const int port = rig.integrations().AlpacaPort();
  KeptConnection client(port);
  ASSERT_TRUE(Answered(client.Get(kName)));
  int listening = 0;
  int connections = 0;
  for (const int socket : ServerSockets(port)) {
    if (IntOption(socket, SOL_SOCKET, SO_ACCEPTCONN) != 0) {
      ++listening;
      tcp_info info{};
      socklen_t length = sizeof info;
      ASSERT_EQ(::getsockopt(socket, IPPROTO_TCP, TCP_INFO, &info, &length), 0);
      // For a listening socket the system gives the length of its queue there.
      EXPECT_GE(info.tcpi_sacked, 100u);
    } else {
      ++connections;
      EXPECT_EQ(IntOption(socket, IPPROTO_TCP, TCP_NODELAY), 1);
    }
  }
  EXPECT_EQ(listening, 1);
  EXPECT_EQ(connections, 1);
}

}  // namespace
}  // namespace vesk
