#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "http/http_server.h"
#include "plots/whole_window.h"
#include "web/live_hub.h"
#include "web/web_login.h"
#include "web/web_station.h"

namespace vesk {

// The station's web page: the page itself and its script (embedded at build time), the live
// state with Server-Sent Events (one event per poll), the charts' series reduced to the
// page's pixel columns, the history as CSV (streamed) and the newest lines of the event log.
// The history is read only on the session's thread, by jobs the server posts there. The
// board's operations need a login (a password set with `vesk-cli web password`), a session
// cookie and its CSRF token; without a password the page is read-only.
class WebServer {
 public:
  // folder: the program folder, where the password's hash is kept.
  WebServer(WebStation& station, const std::filesystem::path& folder);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  std::optional<std::string> Start(const std::string& bind, int port);
  void Stop();
  int Port() const { return http_.Port(); }

  // Each poll's state, from the session's thread: one event to every live page.
  void Publish(const WebLiveState& state);
  std::size_t Listeners() const { return hub_.Listeners(); }

 private:
  void Handle(HttpRequest request, HttpReply reply);
  void Series(const std::string& query, HttpReply reply);
  void Csv(const std::string& query, HttpReply reply);
  // POST: the login, the logout and the operations.
  void Change(const HttpRequest& request, HttpReply reply);
  void Operation(const HttpRequest& request, const FormParams& params, HttpReply reply);
  // Runs job on the session's thread while this server lives.
  void OnSession(std::function<void()> job);

  WebStation& station_;
  LiveHub hub_;
  WebLogins logins_;
  // Session's thread only: what the reduction of each time window keeps between requests.
  std::map<std::size_t, TWholeWindowMemory> memories_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  HttpServer http_;
};

}  // namespace vesk
