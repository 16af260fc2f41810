#pragma once

#include <optional>
#include <string>

namespace vesk::test {

// The test's own client of a server on 127.0.0.1, on Boost.Asio's sockets, so the same test
// runs on Linux and under Wine.
struct HttpAnswer {
  int status = 0;  // 0: no answer (refused, or the connection ended first)
  std::string body;
};

// One request on a connection of its own; a body goes with its content type.
HttpAnswer HttpRequest(int port, const std::string& method, const std::string& target,
                       const std::string& body = {}, const std::string& contentType = {});

// Sends the bytes as they are, ends the sending side and reads until the server closes: for
// bytes that are no HTTP. False when they could not all be sent.
bool SendRawBytes(int port, const std::string& bytes);

// One datagram to the UDP port and the first answer within 10 s; nothing when none came.
std::optional<std::string> AskOverUdp(int port, const std::string& question);

}  // namespace vesk::test
