// Boost 1.74's headers use std::exchange and friends without including <utility> in C++20.
#include <utility>

#include "http/http_server.h"

#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "http/listen_failure.h"

#ifdef _WIN32
#include <winsock2.h>
#endif

namespace vesk {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace bhttp = beast::http;
using tcp = asio::ip::tcp;

class Connection;

}  // namespace

struct HttpServer::Context {
  Context(const HttpHandler& h, const Limits& l) : handler(h), limits(l) {}

  asio::io_context io;
  std::optional<asio::executor_work_guard<asio::io_context::executor_type>> work;
  tcp::acceptor acceptor{io};
  const HttpHandler handler;
  const Limits limits;
  std::atomic<bool> stopped{false};
  std::mutex mutex;  // protects connections
  std::vector<std::weak_ptr<Connection>> connections;
  std::vector<std::thread> threads;
  // The jobs posted to the server, one at a time.
  asio::strand<asio::io_context::executor_type> jobs{io.get_executor()};
};

namespace {

using Context = HttpServer::Context;

template <class Message>
void SetFields(Message& message, const HttpResponse& response) {
  message.set(bhttp::field::content_type, response.contentType);
  for (const auto& [name, value] : response.headers) {
    message.insert(name, value);
  }
}

// One client's connection: requests read one after the other, each answered before the next
// is read. Every step runs on the connection's strand; a pending step holds the connection.
class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(std::shared_ptr<Context> context, tcp::socket socket)
      : context_(std::move(context)), stream_(std::move(socket)) {
    beast::error_code ignored;
    client_ = stream_.socket().remote_endpoint(ignored).address().to_string(ignored);
  }

  void Start() { Read(); }

  // Called with the io threads ended: nothing else touches the socket.
  void Close() {
    closed_ = true;
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
    stream_.close();
  }

 private:
  bool Ending() const { return closed_ || context_->stopped; }

  void Read() {
    if (Ending()) {
      return;
    }
    parser_.emplace();
    parser_->body_limit(context_->limits.largestBody);
    parser_->header_limit(static_cast<std::uint32_t>(context_->limits.largestHeader));
    stream_.expires_after(context_->limits.idle);
    bhttp::async_read(stream_, buffer_, *parser_,
                      [self = shared_from_this()](beast::error_code error, std::size_t) {
                        self->Received(error);
                      });
  }

  void Received(beast::error_code error) {
    if (Ending()) {
      return;  // read just before the stop: nothing more reaches the handler
    }
    if (error == bhttp::error::end_of_stream || error == beast::error::timeout ||
        error == asio::error::operation_aborted || error == asio::error::eof ||
        error == asio::error::connection_reset) {
      End();
      return;
    }
    if (error) {
      // Bytes that are no HTTP request, or past the limits: this connection ends.
      keepAlive_ = false;
      HttpResponse refusal;
      refusal.status = error == bhttp::error::body_limit ? 413 : 400;
      refusal.contentType = "text/plain; charset=utf-8";
      refusal.body = "Bad request";
      Send(std::move(refusal));
      return;
    }
    stream_.expires_never();
    auto message = parser_->release();
    keepAlive_ = message.keep_alive();
    HttpRequest request;
    request.method = std::string(message.method_string());
    const std::string_view target(message.target().data(), message.target().size());
    const std::size_t question = target.find('?');
    request.path = std::string(target.substr(0, question));
    if (question != std::string_view::npos) {
      request.query = std::string(target.substr(question + 1));
    }
    for (const auto& field : message) {
      std::string name(field.name_string());
      for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      }
      request.headers.emplace_back(std::move(name), std::string(field.value()));
    }
    request.body = std::move(message.body());
    request.client = client_;

    auto reply = [self = shared_from_this()](HttpResponse response) {
      if (self->Ending()) {
        return;
      }
      asio::post(self->stream_.get_executor(), [self, response = std::move(response)]() mutable {
        self->Send(std::move(response));
      });
    };
    try {
      context_->handler(std::move(request), std::move(reply));
    } catch (const std::exception&) {
      HttpResponse failure;
      failure.status = 500;
      failure.contentType = "text/plain; charset=utf-8";
      failure.body = "The server failed to answer";
      Send(std::move(failure));
    }
  }

  void Send(HttpResponse response) {
    if (Ending()) {
      return;
    }
    if (response.attach || response.pieces) {
      SendHeaderFirst(std::make_shared<HttpResponse>(std::move(response)));
      return;
    }
    auto message = std::make_shared<bhttp::response<bhttp::string_body>>(
        static_cast<bhttp::status>(response.status), 11);
    SetFields(*message, response);
    message->keep_alive(keepAlive_);
    message->body() = std::move(response.body);
    message->prepare_payload();
    bhttp::async_write(stream_, *message,
                       [self = shared_from_this(), message](beast::error_code error, std::size_t) {
                         if (error) {
                           self->End();
                         } else {
                           self->Answered();
                         }
                       });
  }

  void Answered() {
    if (keepAlive_) {
      Read();
    } else {
      End();
    }
  }

  void End() {
    closed_ = true;
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    stream_.close();
  }

  // A body in pieces, or an open-ended answer: the header leaves first, chunked.
  void SendHeaderFirst(std::shared_ptr<HttpResponse> response) {
    auto header = std::make_shared<bhttp::response<bhttp::empty_body>>(
        static_cast<bhttp::status>(response->status), 11);
    SetFields(*header, *response);
    if (response->attach) {
      keepAlive_ = false;
    }
    header->keep_alive(keepAlive_);
    header->chunked(true);
    auto serializer = std::make_shared<bhttp::response_serializer<bhttp::empty_body>>(*header);
    bhttp::async_write_header(stream_, *serializer,
                              [self = shared_from_this(), header, serializer, response](
                                  beast::error_code error, std::size_t) {
                                if (error) {
                                  self->End();
                                } else if (response->attach) {
                                  self->Attach(*response);
                                } else {
                                  self->NextPiece(response);
                                }
                              });
  }

  void NextPiece(std::shared_ptr<HttpResponse> response) {
    if (Ending()) {
      return;
    }
    auto self = shared_from_this();
    response->pieces([self, response](std::string piece) {
      if (self->Ending()) {
        return;
      }
      asio::post(self->stream_.get_executor(),
                 [self, response, piece = std::move(piece)]() mutable {
                   self->WritePiece(response, std::move(piece));
                 });
    });
  }

  void WritePiece(std::shared_ptr<HttpResponse> response, std::string piece) {
    if (Ending()) {
      return;
    }
    auto self = shared_from_this();
    if (piece.empty()) {
      asio::async_write(stream_, bhttp::make_chunk_last(),
                        [self](beast::error_code error, std::size_t) {
                          if (error) {
                            self->End();
                          } else {
                            self->Answered();
                          }
                        });
      return;
    }
    auto text = std::make_shared<std::string>(std::move(piece));
    asio::async_write(stream_, bhttp::make_chunk(asio::buffer(*text)),
                      [self, text, response](beast::error_code error, std::size_t) {
                        if (error) {
                          self->End();
                        } else {
                          self->NextPiece(response);
                        }
                      });
  }

  // The client of an open-ended answer sends nothing more: a read that ends tells it left.
  void Attach(HttpResponse& response) {
    auto self = shared_from_this();
    stream_.socket().async_read_some(asio::buffer(sink_),
                                     [self](beast::error_code, std::size_t) { self->End(); });
    std::weak_ptr<Connection> weak = self;
    response.attach([weak](std::string piece) {
      const auto connection = weak.lock();
      if (!connection || connection->Ending()) {
        return false;
      }
      asio::post(connection->stream_.get_executor(),
                 [connection, piece = std::move(piece)]() mutable {
                   connection->Queue(std::move(piece));
                 });
      return true;
    });
  }

  void Queue(std::string piece) {
    if (Ending()) {
      return;
    }
    queued_.push_back(std::move(piece));
    if (!writing_) {
      WriteQueued();
    }
  }

  void WriteQueued() {
    writing_ = true;
    auto text = std::make_shared<std::string>(std::move(queued_.front()));
    queued_.pop_front();
    asio::async_write(stream_, bhttp::make_chunk(asio::buffer(*text)),
                      [self = shared_from_this(), text](beast::error_code error, std::size_t) {
                        if (error) {
                          self->End();
                          return;
                        }
                        if (self->queued_.empty() || self->Ending()) {
                          self->writing_ = false;
                        } else {
                          self->WriteQueued();
                        }
                      });
  }

  // First: the io context outlives the socket.
  const std::shared_ptr<Context> context_;
  beast::tcp_stream stream_;
  beast::flat_buffer buffer_;
  std::optional<bhttp::request_parser<bhttp::string_body>> parser_;
  std::string client_;
  bool keepAlive_ = true;
  std::atomic<bool> closed_{false};
  // An open-ended answer's pieces waiting for the one being written.
  std::deque<std::string> queued_;
  bool writing_ = false;
  char sink_[512];
};

void Accept(const std::shared_ptr<Context>& context) {
  context->acceptor.async_accept(
      asio::make_strand(context->io), [context](beast::error_code error, tcp::socket socket) {
        if (context->stopped || error == asio::error::operation_aborted) {
          return;
        }
        if (!error) {
          beast::error_code ignored;
          socket.set_option(tcp::no_delay(true), ignored);
          auto connection = std::make_shared<Connection>(context, std::move(socket));
          {
            std::lock_guard lock(context->mutex);
            std::erase_if(context->connections, [](const auto& c) { return c.expired(); });
            context->connections.push_back(connection);
          }
          connection->Start();
        }
        Accept(context);
      });
}

ListenError KindOf(const beast::error_code& error) {
  if (error == asio::error::address_in_use) {
    return ListenError::InUse;
  }
  if (error == boost::system::errc::address_not_available) {
    return ListenError::NotAnAddressHere;
  }
  if (error == asio::error::access_denied) {
    return ListenError::NeedsPrivileges;
  }
  return ListenError::Other;
}

}  // namespace

HttpServer::HttpServer(HttpHandler handler, Limits limits)
    : handler_(std::move(handler)), limits_(limits) {}

HttpServer::HttpServer(HttpHandler handler) : HttpServer(std::move(handler), Limits{}) {}

HttpServer::~HttpServer() {
  Stop();
}

std::optional<std::string> HttpServer::Start(const std::string& bind, int port) {
  Stop();
  beast::error_code error;
  const auto address = asio::ip::make_address(bind, error);
  if (error || port < 0 || port > 65535) {
    return NotAListenAddress(bind, port);
  }
  auto context = std::make_shared<Context>(handler_, limits_);
  const tcp::endpoint endpoint(address, static_cast<unsigned short>(port));
  tcp::acceptor& acceptor = context->acceptor;
  const auto failure = [&] { return ListenFailure(bind, port, KindOf(error), error.message()); };
  acceptor.open(endpoint.protocol(), error);
  if (error) {
    return failure();
  }
#ifdef _WIN32
  // Windows' SO_REUSEADDR would let another program take the port over; this keeps it ours.
  BOOL exclusive = TRUE;
  ::setsockopt(acceptor.native_handle(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
               reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
#else
  // Only SO_REUSEADDR (a restart finds its port again): never SO_REUSEPORT, which would let a
  // second server share the port and receive part of the requests.
  acceptor.set_option(asio::socket_base::reuse_address(true), error);
#endif
  acceptor.bind(endpoint, error);
  if (error) {
    return failure();
  }
  // Many clients connecting at once wait in the queue instead of repeating their handshakes.
  acceptor.listen(asio::socket_base::max_listen_connections, error);
  if (error) {
    return failure();
  }
  port_ = acceptor.local_endpoint(error).port();
  context->work.emplace(context->io.get_executor());
  Accept(context);
  for (unsigned i = 0; i < std::max(1u, limits_.threads); ++i) {
    context->threads.emplace_back([io = &context->io] { io->run(); });
  }
  context_ = std::move(context);
  return std::nullopt;
}

void HttpServer::Post(std::function<void()> job) {
  // context_ changes only on the owner's thread (Start, Stop), as Post is called there or
  // while the owner keeps the server running.
  const std::shared_ptr<Context> context = context_;
  if (!context || context->stopped) {
    return;
  }
  asio::post(context->jobs, [job = std::move(job)] {
    try {
      job();
    } catch (const std::exception&) {
      // A job's failure must not end the server's thread.
    }
  });
}

void HttpServer::Stop() {
  if (!context_) {
    return;
  }
  const std::shared_ptr<Context> context = std::move(context_);
  context->stopped = true;
  context->work.reset();
  context->io.stop();
  for (std::thread& thread : context->threads) {
    thread.join();
  }
  // The threads have ended: the sockets are ours to close. The steps still queued end with
  // the io context, when the last connection goes.
  beast::error_code ignored;
  context->acceptor.close(ignored);
  std::vector<std::shared_ptr<Connection>> open;
  {
    std::lock_guard lock(context->mutex);
    for (const auto& weak : context->connections) {
      if (auto connection = weak.lock()) {
        open.push_back(std::move(connection));
      }
    }
    context->connections.clear();
  }
  for (const auto& connection : open) {
    connection->Close();
  }
  // The queued steps hold their connections, which hold the context: run them out (each sees
  // its connection closed and ends) so nothing is left holding itself.
  open.clear();
  context->io.restart();
  context->io.poll();
  port_ = 0;
}

}  // namespace vesk
