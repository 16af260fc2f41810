#include "integrations/alpaca_server.h"

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <string_view>

#include "integrations/elastic_thread_pool.h"
#include "integrations/socket_address.h"

namespace vesk {
namespace {

// A connection holds its thread while the client keeps it open, up to the keep-alive
// timeout between two requests: a thread for each client, a few kept when none is there.
constexpr std::size_t kFewestThreads = 3;
constexpr std::size_t kMostThreads = 128;
constexpr std::chrono::seconds kIdleThreadLimit{30};
constexpr std::size_t kLargestBody = 64 * 1024;
// Connections not yet taken by the listening thread; the library's own queue of 5 overflows
// when many clients connect at once, and their connections then stall for seconds while the
// system repeats the handshake.
constexpr int kListenBacklog = SOMAXCONN;

class ConnectionThreads : public httplib::TaskQueue {
 public:
  void enqueue(std::function<void()> fn) override { pool_.Enqueue(std::move(fn)); }
  void shutdown() override { pool_.Shutdown(); }

 private:
  ElasticThreadPool pool_{kFewestThreads, kMostThreads, kIdleThreadLimit};
};

// Only SO_REUSEADDR: the library would also set SO_REUSEPORT, which lets a second server
// (another monitor) share the port and receive part of the requests.
void ListenSocketOptions(int socket) {
  const int yes = 1;
  ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

// Why the address cannot be listened on, found by binding a socket of our own the same way;
// none when it can.
std::optional<std::string> ProbeBind(const std::string& bind, const SocketAddress& address,
                                     int port) {
  const int probe = ::socket(address.family(), SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (probe < 0) {
    return BindFailure(bind, port, errno);
  }
  ListenSocketOptions(probe);
  std::optional<std::string> failure;
  if (::bind(probe, address.get(), address.length) != 0) {
    failure = BindFailure(bind, port, errno);
  }
  ::close(probe);
  return failure;
}

bool IsForm(const httplib::Request& request) {
  const std::string type = request.get_header_value("Content-Type");
  return type.empty() || std::string_view(type).starts_with("application/x-www-form-urlencoded");
}

}  // namespace

struct AlpacaServer::Http {
  httplib::Server server;
  std::atomic<bool> listenEnded{false};
  int listening = -1;
};

AlpacaServer::AlpacaServer(AlpacaApi& api) : api_(api) {}

AlpacaServer::~AlpacaServer() {
  Stop();
}

std::optional<std::string> AlpacaServer::Start(const std::string& bind, int port) {
  Stop();
  const auto address = NumericAddress(bind, port);
  if (!address) {
    return "\"" + bind + "\" with port " + std::to_string(port) +
           " is no IP address and port to listen on";
  }
  if (auto failure = ProbeBind(bind, *address, port)) {
    return failure;
  }

  http_ = std::make_unique<Http>();
  httplib::Server& server = http_->server;
  server.new_task_queue = [] { return new ConnectionThreads; };
  // The listening socket is the last one given its options.
  server.set_socket_options([http = http_.get()](int socket) {
    ListenSocketOptions(socket);
    http->listening = socket;
  });
  // The library writes an answer's header and body apart; without this the body waits for
  // the client to acknowledge the header, which it delays by up to 40 ms on a kept connection.
  server.set_tcp_nodelay(true);
  server.set_payload_max_length(kLargestBody);
  server.set_read_timeout(2, 0);
  server.set_keep_alive_timeout(2);

  const auto answer = [this](AlpacaRequest request, httplib::Response& response) {
    const AlpacaReply reply = api_.Handle(request);
    response.status = reply.status;
    response.set_content(reply.body, reply.contentType.c_str());
  };
  server.Get(".*", [answer](const httplib::Request& request, httplib::Response& response) {
    answer({false, request.path, {request.params.begin(), request.params.end()}}, response);
  });
  server.Put(".*", [answer](const httplib::Request& request, httplib::Response& response) {
    auto params = IsForm(request) ? DecodeForm(request.body) : std::nullopt;
    if (!params) {
      const AlpacaReply reply = AlpacaApi::BadRequest(
          "A PUT carries its parameters as application/x-www-form-urlencoded");
      response.status = reply.status;
      response.set_content(reply.body, reply.contentType.c_str());
      return;
    }
    answer({true, request.path, std::move(*params)}, response);
  });
  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        response.status = 500;
        response.set_content("The server failed to answer", "text/plain; charset=utf-8");
      });

  if (port == 0) {
    port_ = server.bind_to_any_port(bind);
    if (port_ <= 0) {
      port_ = 0;
    }
  } else if (server.bind_to_port(bind, port)) {
    port_ = port;
  }
  if (port_ == 0) {
    http_.reset();
    return "cannot listen on port " + std::to_string(port) + " of " + bind;
  }
  // A second listen on a listening socket only sets its queue's length.
  if (http_->listening >= 0 && BoundPort(http_->listening) == port_) {
    ::listen(http_->listening, kListenBacklog);
  }
  Http* http = http_.get();
  listener_ = std::thread([http] {
    http->server.listen_after_bind();
    http->listenEnded = true;
  });
  // A stop before the listening loop has begun would be lost, and the loop would never end.
  while (!http->server.is_running() && !http->listenEnded) {
    std::this_thread::yield();
  }
  return std::nullopt;
}

void AlpacaServer::Stop() {
  if (!http_) {
    return;
  }
  http_->server.stop();
  if (listener_.joinable()) {
    listener_.join();
  }
  http_.reset();
  port_ = 0;
}

}  // namespace vesk
