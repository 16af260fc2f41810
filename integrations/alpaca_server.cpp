#include "integrations/alpaca_server.h"

#include <string_view>

#include "http/url_form.h"

namespace vesk {
namespace {

constexpr std::size_t kLargestBody = 64 * 1024;
// A kept connection quiet for longer is closed.
constexpr std::chrono::seconds kKeepAlive{2};

bool IsForm(const HttpRequest& request) {
  const std::string type = request.Header("content-type");
  return type.empty() || std::string_view(type).starts_with("application/x-www-form-urlencoded");
}

HttpResponse ResponseOf(const AlpacaReply& reply) {
  HttpResponse response;
  response.status = reply.status;
  response.contentType = reply.contentType;
  response.body = reply.body;
  return response;
}

HttpServer::Limits Limits() {
  HttpServer::Limits limits;
  limits.largestBody = kLargestBody;
  limits.idle = kKeepAlive;
  return limits;
}

}  // namespace

AlpacaServer::AlpacaServer(AlpacaApi& api)
    : api_(api),
      http_([this](HttpRequest request, HttpReply reply) { reply(Answer(request)); }, Limits()) {}

std::optional<std::string> AlpacaServer::Start(const std::string& bind, int port) {
  return http_.Start(bind, port);
}

HttpResponse AlpacaServer::Answer(const HttpRequest& request) {
  const bool put = request.method == "PUT";
  if (!put && request.method != "GET") {
    HttpResponse refused = ResponseOf(AlpacaApi::BadRequest("Alpaca takes GET and PUT only"));
    refused.status = 405;
    return refused;
  }
  std::optional<FormParams> params;
  if (!put) {
    params = DecodeForm(request.query);
    if (!params) {
      return ResponseOf(AlpacaApi::BadRequest("The query holds a broken escape"));
    }
  } else {
    params = IsForm(request) ? DecodeForm(request.body) : std::nullopt;
    if (!params) {
      return ResponseOf(AlpacaApi::BadRequest(
          "A PUT carries its parameters as application/x-www-form-urlencoded"));
    }
  }
  return ResponseOf(api_.Handle({put, request.path, std::move(*params)}));
}

}  // namespace vesk
