// Boost 1.74's headers want <utility> first in C++20.
#include <utility>

#include "tests/integrations/loopback_client.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>
#include <chrono>

namespace vesk::test {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;

const asio::ip::address kLoopback = asio::ip::make_address("127.0.0.1");

}  // namespace

HttpAnswer HttpRequest(int port, const std::string& method, const std::string& target,
                       const std::string& body, const std::string& contentType) {
  asio::io_context io;
  asio::ip::tcp::socket socket(io);
  boost::system::error_code error;
  socket.connect({kLoopback, static_cast<unsigned short>(port)}, error);
  if (error) {
    return {};
  }
  http::request<http::string_body> request(http::string_to_verb(method), target, 11);
  request.set(http::field::host, "127.0.0.1");
  if (!contentType.empty()) {
    request.set(http::field::content_type, contentType);
  }
  request.body() = body;
  request.prepare_payload();
  http::write(socket, request, error);
  boost::beast::flat_buffer buffer;
  http::response<http::string_body> response;
  if (error || (http::read(socket, buffer, response, error), error)) {
    return {};
  }
  return {static_cast<int>(response.result_int()), response.body()};
}

bool SendRawBytes(int port, const std::string& bytes) {
  asio::io_context io;
  asio::ip::tcp::socket socket(io);
  boost::system::error_code error;
  socket.connect({kLoopback, static_cast<unsigned short>(port)}, error);
  if (error || (asio::write(socket, asio::buffer(bytes), error), error)) {
    return false;
  }
  socket.shutdown(asio::ip::tcp::socket::shutdown_send, error);
  std::string sink;
  asio::read(socket, asio::dynamic_buffer(sink), error);
  return true;
}

std::optional<std::string> AskOverUdp(int port, const std::string& question) {
  asio::io_context io;
  asio::ip::udp::socket socket(io, asio::ip::udp::v4());
  socket.send_to(asio::buffer(question), {kLoopback, static_cast<unsigned short>(port)});
  std::optional<std::string> answer;
  char datagram[256];
  socket.async_receive(asio::buffer(datagram), [&](boost::system::error_code error, size_t got) {
    if (!error) {
      answer.emplace(datagram, got);
    }
  });
  io.run_for(std::chrono::seconds(10));
  return answer;
}

}  // namespace vesk::test
