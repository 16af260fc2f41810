#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesk {

// One request as the server read it.
struct HttpRequest {
  std::string method;  // "GET", "PUT", "POST" …
  std::string path;    // the target before "?", not decoded
  std::string query;   // after "?", not decoded
  // Names in lower case, in the order sent.
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  std::string client;  // the client's address ("127.0.0.1")

  // The first header of that name (given in lower case); empty when absent.
  std::string Header(std::string_view lowerName) const;
};

// Gives one piece of a streamed body; an empty piece ends the body. Callable from any thread,
// once per request for a piece.
using GivePiece = std::function<void(std::string piece)>;
// Asked for the next piece each time the previous one has left.
using PieceSource = std::function<void(GivePiece give)>;
// Sends one piece of an open-ended answer to its client, from any thread; false once the
// connection has ended (the sender then forgets it).
using PushPiece = std::function<bool(std::string piece)>;

struct HttpResponse {
  int status = 200;
  std::string contentType = "application/json";
  std::string body;
  // More header fields ("Set-Cookie", "Cache-Control" …).
  std::vector<std::pair<std::string, std::string>> headers;
  // When set, the body is sent in pieces (chunked) in place of body.
  PieceSource pieces;
  // When set, the answer stays open after its header (Server-Sent Events): attach receives
  // the way to send pieces to this client until it goes.
  std::function<void(PushPiece push)> attach;
};

// Answers one request, once, from any thread (the handler may answer later, from another
// thread: an operation that waits for the board).
using HttpReply = std::function<void(HttpResponse response)>;
using HttpHandler = std::function<void(HttpRequest request, HttpReply reply)>;

}  // namespace vesk
