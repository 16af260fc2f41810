// The HTTP server on loopback, talked to through plain sockets as any client would.
#include <utility>

#include "http/http_server.h"

#include <gtest/gtest.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/read_until.hpp>
#include <boost/asio/streambuf.hpp>
#include <boost/asio/write.hpp>
#include <condition_variable>
#include <mutex>
#include <string>

namespace vesk {
namespace {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

// One client connection sending requests by hand.
class Client {
 public:
  explicit Client(int port) : socket_(io_) {
    socket_.connect({asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)});
  }
  void Send(const std::string& bytes) { asio::write(socket_, asio::buffer(bytes)); }
  // Reads until text has come (or the connection ended); everything read so far.
  std::string ReadUntil(const std::string& text) {
    boost::system::error_code error;
    asio::read_until(socket_, buffer_, text, error);
    return std::string(asio::buffers_begin(buffer_.data()), asio::buffers_end(buffer_.data()));
  }
  // Everything until the server closes the connection.
  std::string ReadToEnd() {
    boost::system::error_code error;
    asio::read(socket_, buffer_, asio::transfer_all(), error);
    return std::string(asio::buffers_begin(buffer_.data()), asio::buffers_end(buffer_.data()));
  }
  void Clear() { buffer_.consume(buffer_.size()); }

 private:
  asio::io_context io_;
  tcp::socket socket_;
  asio::streambuf buffer_;
};

HttpResponse Text(std::string body) {
  HttpResponse response;
  response.contentType = "text/plain";
  response.body = std::move(body);
  return response;
}

TEST(HttpServer, KeptConnectionsCarryOneRequestAfterAnother) {
  HttpServer server([](HttpRequest request, HttpReply reply) {
    reply(Text(request.method + " " + request.path + " ? " + request.query + " from " +
               request.client + " " + request.Header("x-name") + " " + request.body));
  });
  ASSERT_FALSE(server.Start("127.0.0.1", 0));
  Client client(server.Port());
  client.Send("GET /a/b?x=1 HTTP/1.1\r\nHost: h\r\nX-Name: one\r\n\r\n");
  EXPECT_NE(client.ReadUntil("one ").find("GET /a/b ? x=1 from 127.0.0.1 one "), std::string::npos);
  client.Clear();
  client.Send("POST /c HTTP/1.1\r\nHost: h\r\nContent-Length: 4\r\nConnection: close\r\n\r\nbody");
  const std::string second = client.ReadToEnd();
  EXPECT_TRUE(second.starts_with("HTTP/1.1 200 OK\r\n")) << second;
  EXPECT_NE(second.find("POST /c ?  from 127.0.0.1  body"), std::string::npos) << second;
}

// An answer given later, from another thread, and a body given in pieces.
TEST(HttpServer, AnswersLaterAndInPieces) {
  std::thread later;
  HttpServer server([&later](HttpRequest request, HttpReply reply) {
    if (request.path == "/later") {
      later = std::thread([reply] { reply(Text("later")); });
      return;
    }
    HttpResponse response;
    auto left = std::make_shared<int>(3);
    response.pieces = [left](GivePiece give) {
      give(*left > 0 ? "piece" + std::to_string((*left)--) + ";" : std::string());
    };
    reply(std::move(response));
  });
  ASSERT_FALSE(server.Start("127.0.0.1", 0));
  Client client(server.Port());
  client.Send("GET /later HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_NE(client.ReadUntil("later").find("\r\n\r\nlater"), std::string::npos);
  later.join();
  client.Clear();
  client.Send("GET /pieces HTTP/1.1\r\nHost: h\r\nConnection: close\r\n\r\n");
  const std::string answer = client.ReadToEnd();
  EXPECT_NE(answer.find("Transfer-Encoding: chunked"), std::string::npos) << answer;
  EXPECT_NE(answer.find("piece3;\r\n"), std::string::npos) << answer;
  EXPECT_NE(answer.find("piece1;\r\n0\r\n\r\n"), std::string::npos) << answer;
}

// An open-ended answer takes pieces pushed from any thread; the stop ends its connection.
TEST(HttpServer, OpenEndedAnswersUntilTheStop) {
  std::mutex mutex;
  std::condition_variable attached;
  PushPiece push;
  HttpServer server([&](HttpRequest, HttpReply reply) {
    HttpResponse response;
    response.contentType = "text/event-stream";
    response.attach = [&](PushPiece p) {
      std::lock_guard lock(mutex);
      push = std::move(p);
      attached.notify_all();
    };
    reply(std::move(response));
  });
  ASSERT_FALSE(server.Start("127.0.0.1", 0));
  Client client(server.Port());
  client.Send("GET /events HTTP/1.1\r\nHost: h\r\n\r\n");
  {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(attached.wait_for(lock, std::chrono::seconds(10), [&] { return bool(push); }));
  }
  EXPECT_TRUE(push("data: 1\n\n"));
  EXPECT_TRUE(push("data: 2\n\n"));
  EXPECT_NE(client.ReadUntil("data: 2").find("data: 1\n\n"), std::string::npos);
  server.Stop();
  client.ReadToEnd();  // returns: the server closed the connection
  EXPECT_FALSE(push("data: 3\n\n")) << "the connection is gone";
}

TEST(HttpServer, WhatCannotBeListenedOnIsSaid) {
  HttpServer first([](HttpRequest, HttpReply reply) { reply(Text("first")); });
  ASSERT_FALSE(first.Start("127.0.0.1", 0));
  HttpServer second([](HttpRequest, HttpReply reply) { reply(Text("second")); });
  EXPECT_EQ(second.Start("127.0.0.1", first.Port()),
            "port " + std::to_string(first.Port()) + " on 127.0.0.1 is in use");
  EXPECT_EQ(second.Start("localhost", 8080),
            "\"localhost\" with port 8080 is no IP address and port to listen on");
  EXPECT_EQ(second.Start("127.0.0.1", 70000),
            "\"127.0.0.1\" with port 70000 is no IP address and port to listen on");
  EXPECT_EQ(second.Port(), 0);
}

TEST(HttpServer, GarbageEndsItsOwnConnectionOnly) {
  HttpServer server([](HttpRequest, HttpReply reply) { reply(Text("fine")); },
                    HttpServer::Limits{});
  ASSERT_FALSE(server.Start("127.0.0.1", 0));
  {
    Client garbage(server.Port());
    garbage.Send(std::string("\0\xff\xfe garbage\r\n\r\n", 16));
    EXPECT_TRUE(garbage.ReadToEnd().starts_with("HTTP/1.1 400")) << "refused";
  }
  Client client(server.Port());
  client.Send("GET / HTTP/1.1\r\nHost: h\r\nConnection: close\r\n\r\n");
  EXPECT_NE(client.ReadToEnd().find("fine"), std::string::npos);
}

}  // namespace
}  // namespace vesk
