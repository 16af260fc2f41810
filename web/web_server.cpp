#include "web/web_server.h"

#include <algorithm>
#include <variant>

#include "common/event_log.h"
#include "history/csv_export.h"
#include "plots/time_window.h"
#include "web/log_tail.h"
#include "web/web_assets.h"
#include "web/web_json.h"
#include "web/web_operation.h"
#include "web/web_params.h"

namespace vesk {
namespace {

// Records looked at by one job of a download, so the session's thread is never held long.
constexpr std::size_t kRecordsPerPiece = 32768;
// A browser keeps its connection between the page's requests for this long.
constexpr std::chrono::seconds kKeepAlive{30};

HttpResponse Json(int status, const nlohmann::json& body) {
  HttpResponse response;
  response.status = status;
  response.contentType = "application/json";
  response.body = JsonText(body);
  response.headers.emplace_back("Cache-Control", "no-store");
  return response;
}

HttpResponse Error(int status, const std::string& text) {
  return Json(status, {{"error", text}});
}

HttpServer::Limits Limits() {
  HttpServer::Limits limits;
  limits.idle = kKeepAlive;
  limits.largestBody = 16 * 1024;
  return limits;
}

// The walk of one download through the history.
struct CsvWalk {
  CsvParams range;
  std::size_t next = 0;
  bool headerSent = false;
  bool done = false;
};

}  // namespace

WebServer::WebServer(WebStation& station, const std::filesystem::path& folder)
    : station_(station),
      logins_(folder),
      http_([this](HttpRequest request,
                   HttpReply reply) { Handle(std::move(request), std::move(reply)); },
            Limits()) {}

WebServer::~WebServer() {
  Stop();
}

std::optional<std::string> WebServer::Start(const std::string& bind, int port) {
  return http_.Start(bind, port);
}

void WebServer::Stop() {
  hub_.Clear();
  http_.Stop();
}

void WebServer::Publish(const WebLiveState& state) {
  // The poll makes the text; the server's thread hands it to each page.
  auto json = std::make_shared<const std::string>(JsonText(LiveJson(state)));
  hub_.SetLatest(*json);
  http_.Post([this, json] { hub_.Send(*json); });
}

void WebServer::OnSession(std::function<void()> job) {
  station_.Post([alive = std::weak_ptr<bool>(alive_), job = std::move(job)] {
    if (!alive.expired()) {
      job();
    }
  });
}

void WebServer::Handle(HttpRequest request, HttpReply reply) {
  if (request.method == "POST") {
    Change(request, std::move(reply));
    return;
  }
  if (request.method != "GET") {
    reply(Error(405, "This address takes GET only"));
    return;
  }
  const std::string& path = request.path;
  if (const WebAsset* asset = FindWebAsset(path == "/index.html" ? "/" : path)) {
    HttpResponse response;
    response.contentType = std::string(asset->contentType) + "; charset=utf-8";
    response.body = std::string(asset->body);
    reply(std::move(response));
    return;
  }
  if (path == "/api/live") {
    const std::string latest = hub_.Latest();
    HttpResponse response = Json(200, nullptr);
    response.body = latest.empty() ? "{}" : latest;
    reply(std::move(response));
    return;
  }
  if (path == "/api/events") {
    HttpResponse response;
    response.contentType = "text/event-stream";
    response.headers.emplace_back("Cache-Control", "no-store");
    response.attach = [this](PushPiece push) { hub_.Attach(std::move(push)); };
    reply(std::move(response));
    return;
  }
  if (path == "/api/session") {
    const auto csrf =
        logins_.CsrfOf(SessionCookie(request.Header("cookie")), WebLogins::Clock::now());
    reply(Json(200, {{"passwordSet", logins_.PasswordSet()},
                     {"loggedIn", csrf.has_value()},
                     {"csrf", csrf.value_or("")}}));
    return;
  }
  if (path == "/api/series") {
    Series(request.query, std::move(reply));
    return;
  }
  if (path == "/api/history.csv") {
    Csv(request.query, std::move(reply));
    return;
  }
  if (path == "/api/log") {
    const auto count = ParseLogParams(request.query);
    if (const auto* error = std::get_if<WebParamError>(&count)) {
      reply(Error(400, error->text));
      return;
    }
    reply(Json(200, {{"lines", LogTail(LogFilePath(), std::get<std::size_t>(count))}}));
    return;
  }
  reply(Error(404, "No such page: " + path));
}

void WebServer::Series(const std::string& query, HttpReply reply) {
  const auto parsed = ParseSeriesParams(query);
  if (const auto* error = std::get_if<WebParamError>(&parsed)) {
    reply(Error(400, error->text));
    return;
  }
  const SeriesParams params = std::get<SeriesParams>(parsed);
  OnSession([this, params, reply = std::move(reply)] {
    const TWindowButton& button = kWindowButtons[params.window];
    const TTimeRange range = TimeWindowRange(Now(), button.MinX, button.MaxX);
    TPlotWindow window;
    window.timeMin = range.min;
    window.timeMax = range.max;
    window.columns = params.columns;
    TSeriesFlags flags = station_.Flags();
    flags.wholeWindow = true;
    TPlotSeries plot;
    BuildWholeWindowSeries(station_.History(), window, flags, memories_[params.window], plot);
    HttpResponse response = Json(200, {{"window", button.caption},
                                       {"from", ChartSeconds(window.timeMin)},
                                       {"to", ChartSeconds(window.timeMax)},
                                       {"dataPoints", plot.statusText.value_or("")}});
    response.body.pop_back();  // the object's "}": the series follow
    response.body += ",\"series\":" + SeriesJsonText(plot, flags) + "}";
    reply(std::move(response));
  });
}

void WebServer::Csv(const std::string& query, HttpReply reply) {
  const auto parsed = ParseCsvParams(query);
  if (const auto* error = std::get_if<WebParamError>(&parsed)) {
    reply(Error(400, error->text));
    return;
  }
  auto walk = std::make_shared<CsvWalk>();
  walk->range = std::get<CsvParams>(parsed);
  HttpResponse response;
  // The header line holds "°" as the byte 0xB0, as every export of the history does.
  response.contentType = "text/csv; charset=windows-1252";
  response.headers.emplace_back("Content-Disposition",
                                "attachment; filename=\"" + walk->range.fileName + "\"");
  // Each piece is made on the session's thread from the records of that moment, and sent
  // before the next is made: the download never holds the file in memory.
  response.pieces = [this, walk](GivePiece give) {
    OnSession([this, walk, give = std::move(give)] {
      std::string text;
      if (!walk->headerSent) {
        text = std::string(kCsvHeader) + "\r\n";
        walk->headerSent = true;
      }
      const TTinfosRec& history = station_.History();
      while (text.empty() && walk->next < history.size()) {
        const std::size_t end = std::min(history.size(), walk->next + kRecordsPerPiece);
        for (; walk->next < end; ++walk->next) {
          const TinfosRec& rec = history[walk->next];
          if (rec.Date >= walk->range.from && rec.Date < walk->range.before) {
            AppendCsvLine(text, rec);
          }
        }
      }
      give(std::move(text));
    });
  };
  reply(std::move(response));
}

void WebServer::Change(const HttpRequest& request, HttpReply reply) {
  const std::string type = request.Header("content-type");
  if (!std::string_view(type).starts_with("application/x-www-form-urlencoded")) {
    reply(Error(415, "A change carries its fields as application/x-www-form-urlencoded"));
    return;
  }
  const auto params = DecodeForm(request.body);
  if (!params) {
    reply(Error(400, "The form holds a broken escape"));
    return;
  }
  const auto now = WebLogins::Clock::now();
  if (request.path == "/api/login") {
    const std::string* password = FindParam(*params, "password", false);
    const WebLogins::Result result =
        logins_.Login(request.client, password ? *password : std::string(), now);
    if (result.status != 200) {
      WriteLog("Web page: failed login from " + request.client);
      reply(Error(result.status, result.error));
      return;
    }
    WriteLog("Web page: login from " + request.client);
    HttpResponse response = Json(200, {{"csrf", result.csrf}});
    response.headers.emplace_back("Set-Cookie", SessionCookieHeader(result.token));
    reply(std::move(response));
    return;
  }
  if (request.path != "/api/logout" && request.path != "/api/operation") {
    reply(Error(404, "No such page: " + request.path));
    return;
  }
  if (!logins_.PasswordSet()) {
    reply(Error(403, "No password is set: the page is read-only"));
    return;
  }
  const std::string token = SessionCookie(request.Header("cookie"));
  const auto csrf = logins_.CsrfOf(token, now);
  if (!csrf) {
    HttpResponse response = Json(401, {{"error", "Log in first"}, {"login", true}});
    reply(std::move(response));
    return;
  }
  if (request.Header("x-csrf-token") != *csrf) {
    WriteLog("Web page: change without its token refused, from " + request.client);
    reply(Error(403, "The page's token is missing or wrong: reload the page"));
    return;
  }
  if (request.path == "/api/logout") {
    logins_.Logout(token);
    HttpResponse response = Json(200, {{"result", "Logged out"}});
    response.headers.emplace_back("Set-Cookie", SessionCookieHeader(""));
    reply(std::move(response));
    return;
  }
  Operation(request, *params, std::move(reply));
}

void WebServer::Operation(const HttpRequest& request, const FormParams& params, HttpReply reply) {
  const auto parsed = ParseOperation(params);
  if (const auto* error = std::get_if<WebParamError>(&parsed)) {
    reply(Error(400, error->text));
    return;
  }
  OnSession([this, operation = std::get<WebOperation>(parsed), client = request.client,
             reply = std::move(reply)] {
    WriteLog("Web page: " + operation.Text() + ", from " + client);
    try {
      reply(Json(200, {{"result", station_.Operate(operation)}}));
    } catch (const WebOperationRefused& e) {
      WriteLog("Web page: " + operation.Text() + " refused: " + e.what());
      reply(Error(400, e.what()));
    } catch (const std::exception& e) {
      WriteLog("Web page: " + operation.Text() + " failed: " + e.what());
      reply(Error(502, e.what()));
    }
  });
}

}  // namespace vesk
