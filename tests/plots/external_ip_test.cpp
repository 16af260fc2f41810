#include "plots/external_ip.h"

#include <gtest/gtest.h>

#include <stop_token>

#include "local_http_server.h"

namespace vesk {
namespace {

using test::HttpResponse;
using test::LocalHttpServer;

constexpr char kEchoPage[] =
    "<html><head><title>Current IP Check</title></head>"
    "<body>Current IP Address: 203.0.113.7</body></html>\r\n";

TEST(ExternalIP, ReadsTheEchoPageWithAPlainGet) {
  LocalHttpServer server(HttpResponse(200, kEchoPage));
  EXPECT_EQ(GetExternalIP(server.url()), "203.0.113.7");
  ASSERT_EQ(server.requestLines().size(), 1u);
  EXPECT_EQ(server.requestLines()[0], "GET / HTTP/1.1");
}

TEST(ExternalIP, PageWithoutATagAfterTheAddress) {
  LocalHttpServer server(HttpResponse(200, "Current IP Address: 192.0.2.44\n"));
  EXPECT_EQ(GetExternalIP(server.url()), "192.0.2.44\n");
}

TEST(ExternalIP, FailuresGiveTheNoInternetText) {
  EXPECT_EQ(std::string(kNoInternet), "<Pas d'internet (2s)>");
  EXPECT_EQ(GetExternalIP(test::ClosedPortUrl()), kNoInternet);
  LocalHttpServer notFound(HttpResponse(404, kEchoPage));
  EXPECT_EQ(GetExternalIP(notFound.url()), kNoInternet);
  EXPECT_EQ(GetExternalIP("file:///etc/hostname"), kNoInternet) << "a page, not a file";
}

// Connected, but the server never answers: given up after two silent seconds.
TEST(ExternalIP, ServerThatNeverAnswers) {
  LocalHttpServer silent(std::nullopt);
  EXPECT_EQ(GetExternalIP(silent.url()), kNoInternet);
  EXPECT_EQ(silent.requestLines().size(), 1u);
}

// The window's closing stops a look-up in flight: even a page that answers is not read.
TEST(ExternalIP, StopAskedForEndsTheLookUp) {
  LocalHttpServer server(HttpResponse(200, kEchoPage));
  std::stop_source stop;
  stop.request_stop();
  EXPECT_EQ(GetExternalIP(server.url(), stop.get_token()), kNoInternet);
  EXPECT_EQ(GetExternalIP(server.url(), std::stop_source().get_token()), "203.0.113.7");
}

}  // namespace
}  // namespace vesk
