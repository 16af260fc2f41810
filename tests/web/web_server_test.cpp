// The web page's server against real HTTP clients, over a history the test makes.
#include "web/web_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <mutex>
#include <nlohmann/json.hpp>

#include "common/datetime.h"
#include "history/csv_export.h"
#include "history/synthetic_history.h"
#include "plots/series_values.h"
#include "tests/support/temp_folder.h"
#include "web/log_tail.h"
#include "web/password_hash.h"
#include "web/web_json.h"
#include "web/web_login.h"

namespace vesk {
namespace {

// The station's thread is the test's lock: each job runs at once, one at a time.
class HistoryStation final : public WebStation {
 public:
  explicit HistoryStation(TTinfosRec history) : history_(std::move(history)) {}
  void Post(std::function<void()> job) override {
    std::lock_guard lock(mutex_);
    job();
  }
  const TTinfosRec& History() const override { return history_; }
  TSeriesFlags Flags() const override { return {true, true, true, false}; }
  std::string Operate(const WebOperation& operation) override {
    if (operation.kind == WebOperation::Kind::Focus) {
      operation.PlanFocus(0);  // as the session plans it, from the lens at position 0
    }
    operations.push_back(operation.Text());
    return "Done: " + operation.Text();
  }

  // What reached the board, in order.
  std::vector<std::string> operations;

 private:
  std::mutex mutex_;
  TTinfosRec history_;
};

class WebRig {
 public:
  explicit WebRig(TTinfosRec history)
      : station_(std::move(history)), server_(station_, folder_.path()) {
    EXPECT_FALSE(server_.Start("127.0.0.1", 0));
    client_ = std::make_unique<httplib::Client>("127.0.0.1", server_.Port());
    client_->set_read_timeout(10, 0);
  }
  httplib::Result Get(const std::string& target) { return client_->Get(target.c_str()); }
  WebServer& server() { return server_; }
  const TTinfosRec& history() { return station_.History(); }
  HistoryStation& station() { return station_; }
  const std::filesystem::path& folder() const { return folder_.path(); }
  httplib::Client& client() { return *client_; }

 private:
  test::TempFolder folder_;
  HistoryStation station_;
  WebServer server_;
  std::unique_ptr<httplib::Client> client_;
};

// Records every 10 s ending now: the time windows of the page cover them.
TTinfosRec RecentHistory(double days, double seconds = 10) {
  const auto count = static_cast<std::size_t>(days * 86400 / seconds);
  const double step = seconds / 86400;
  return GenerateHistory(Now() - static_cast<double>(count) * step, count, seconds, 7);
}

std::string DayText(TDateTime day) {
  const DateTimeParts p = DecodeDateTime(day);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", p.year, p.month, p.day);
  return text;
}

// What `vesk-cli history export` writes for these records: the same function, on disk.
std::string ExportedBytes(const TTinfosRec& records) {
  test::TempFolder folder;
  EXPECT_FALSE(ExportCsv(records, folder / "out.csv"));
  return test::ReadFile(folder / "out.csv");
}

// Over a download longer than one piece, whole and for one day in the middle.
TEST(WebServer, TheCsvDownloadIsTheExportOfTheSameRecords) {
  WebRig rig(RecentHistory(4.5));
  const TTinfosRec& history = rig.history();
  auto whole = rig.Get("/api/history.csv");
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->status, 200);
  EXPECT_EQ(whole->get_header_value("Transfer-Encoding"), "chunked") << "streamed";
  EXPECT_EQ(whole->body, ExportedBytes(history));

  const TDateTime day = std::floor(history[history.size() / 2].Date);
  TTinfosRec ofDay;
  std::copy_if(history.begin(), history.end(), std::back_inserter(ofDay),
               [day](const TinfosRec& r) { return r.Date >= day && r.Date < day + 1; });
  ASSERT_FALSE(ofDay.empty());
  const std::string text = DayText(day);
  auto oneDay = rig.Get("/api/history.csv?from=" + text + "&to=" + text);
  ASSERT_TRUE(oneDay);
  EXPECT_EQ(oneDay->body, ExportedBytes(ofDay));
  EXPECT_NE(oneDay->get_header_value("Content-Disposition").find("DatasVesk_" + text),
            std::string::npos);
}

// Each series holds at most four points per column (first, lowest, highest, last), and the
// reduction keeps the window's extremes.
TEST(WebServer, SeriesAreReducedToThePageColumns) {
  WebRig rig(RecentHistory(3));
  auto answer = rig.Get("/api/series?window=24h&columns=100");
  ASSERT_TRUE(answer);
  ASSERT_EQ(answer->status, 200);
  const auto json = nlohmann::json::parse(answer->body);
  const auto& temp = json["series"]["SeriesTemp"];
  ASSERT_TRUE(temp.is_object());
  EXPECT_LE(temp["y"].size(), 4u * 102u);
  EXPECT_GT(temp["y"].size(), 100u);

  const double from = json["from"];
  double lowest = 1e9;
  double highest = -1e9;
  for (const TinfosRec& r : rig.history()) {
    if (ChartSeconds(r.Date) >= from) {
      lowest = std::min(lowest, r.TempExt);
      highest = std::max(highest, r.TempExt);
    }
  }
  std::vector<double> ys;
  for (const auto& y : temp["y"]) {
    ys.push_back(y.get<double>());
  }
  EXPECT_DOUBLE_EQ(*std::min_element(ys.begin(), ys.end()), lowest);
  EXPECT_DOUBLE_EQ(*std::max_element(ys.begin(), ys.end()), highest);
  EXPECT_FALSE(json["series"].contains("NoSuchSeries"));
}

// A listener of the live page, reading its stream by hand.
class Listener {
 public:
  explicit Listener(int port) : client_("127.0.0.1", port) {
    thread_ = std::thread([this] {
      client_.Get("/api/events", [this](const char* data, std::size_t length) {
        std::lock_guard lock(mutex_);
        text_.append(data, length);
        changed_.notify_all();
        return !stop_;
      });
    });
  }
  ~Listener() {
    stop_ = true;
    client_.stop();
    thread_.join();
  }
  // Waits until the stream holds count events; their data lines.
  std::vector<std::string> Events(std::size_t count) {
    std::unique_lock lock(mutex_);
    std::vector<std::string> events;
    changed_.wait_for(lock, std::chrono::seconds(10), [&] {
      events.clear();
      for (std::size_t at = 0; (at = text_.find("data: ", at)) != std::string::npos;) {
        const std::size_t end = text_.find("\n\n", at);
        if (end == std::string::npos) {
          break;
        }
        events.push_back(text_.substr(at + 6, end - at - 6));
        at = end;
      }
      return events.size() >= count;
    });
    return events;
  }

 private:
  httplib::Client client_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string text_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST(WebServer, EachPollIsOneEventToEveryLivePage) {
  WebRig rig({});
  std::vector<std::unique_ptr<Listener>> listeners;
  for (int i = 0; i < 3; ++i) {
    listeners.push_back(std::make_unique<Listener>(rig.server().Port()));
  }
  for (int wait = 0; wait < 1000 && rig.server().Listeners() < 3; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(rig.server().Listeners(), 3u);
  WebLiveState state;
  state.readings.LabelTemp = "+7.5 °C";
  rig.server().Publish(state);
  state.readings.LabelTemp = "+7.6 °C";
  rig.server().Publish(state);
  for (auto& listener : listeners) {
    const auto events = listener->Events(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(nlohmann::json::parse(events[0])["readings"]["LabelTemp"], "+7.5 °C");
    EXPECT_EQ(nlohmann::json::parse(events[1])["readings"]["LabelTemp"], "+7.6 °C");
  }
  // A page opened later hears the newest state at once.
  Listener late(rig.server().Port());
  const auto events = late.Events(1);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(nlohmann::json::parse(events[0])["readings"]["LabelTemp"], "+7.6 °C");
  EXPECT_EQ(nlohmann::json::parse(rig.Get("/api/live")->body)["readings"]["LabelTemp"], "+7.6 °C");
}

TEST(WebServer, WhatThePageCannotHaveSentIsA4xxWithAJsonError) {
  WebRig rig(RecentHistory(0.1));
  const struct {
    const char* target;
    int status;
  } cases[] = {
      {"/api/series?window=2h&columns=100", 400},
      {"/api/series?window=24h&columns=5", 400},
      {"/api/series?window=24h&columns=1e3", 400},
      {"/api/series?window=24h", 400},
      {"/api/series?window=%zz&columns=100", 400},
      {"/api/history.csv?from=2026-02-30", 400},
      {"/api/history.csv?from=2026-03-02&to=2026-03-01", 400},
      {"/api/history.csv?to=31/01/2026", 400},
      {"/api/log?lines=0", 400},
      {"/api/log?lines=99999999999999999999", 400},
      {"/api/nothing", 404},
  };
  for (const auto& c : cases) {
    auto answer = rig.Get(c.target);
    ASSERT_TRUE(answer) << c.target;
    EXPECT_EQ(answer->status, c.status) << c.target;
    EXPECT_EQ(answer->get_header_value("Content-Type"), "application/json") << c.target;
    const auto json = nlohmann::json::parse(answer->body, nullptr, false);
    EXPECT_TRUE(json.is_object() && json["error"].is_string()) << c.target << ": " << answer->body;
  }
  httplib::Client client("127.0.0.1", rig.server().Port());
  auto deleted = client.Delete("/api/live");
  ASSERT_TRUE(deleted);
  EXPECT_EQ(deleted->status, 405);
}

TEST(WebServer, ThePageAndItsChartsComeFromTheProgram) {
  WebRig rig({});
  for (const char* path : {"/", "/app.js", "/app.css", "/uplot.js", "/uplot.css"}) {
    auto answer = rig.Get(path);
    ASSERT_TRUE(answer) << path;
    EXPECT_EQ(answer->status, 200) << path;
    EXPECT_GT(answer->body.size(), 500u) << path;
  }
  const std::string page = rig.Get("/")->body;
  EXPECT_EQ(page.find("http://"), std::string::npos) << "nothing fetched from elsewhere";
  EXPECT_EQ(page.find("https://"), std::string::npos) << "nothing fetched from elsewhere";
}

httplib::Result PostForm(httplib::Client& client, const std::string& path, const std::string& form,
                         const httplib::Headers& headers = {}) {
  return client.Post(path.c_str(), headers, form, "application/x-www-form-urlencoded");
}

// The session cookie of a login's answer, as a browser sends it back.
httplib::Headers CookieOf(const httplib::Result& login) {
  const std::string set = login->get_header_value("Set-Cookie");
  return {{"Cookie", set.substr(0, set.find(';'))}};
}

TEST(WebServer, WithoutAPasswordThePageIsReadOnly) {
  WebRig rig({});
  EXPECT_EQ(nlohmann::json::parse(rig.Get("/api/session")->body)["passwordSet"], false);
  auto login = PostForm(rig.client(), "/api/login", "password=");
  ASSERT_TRUE(login);
  EXPECT_EQ(login->status, 403);
  auto operation = PostForm(rig.client(), "/api/operation", "op=heater&on=1");
  ASSERT_TRUE(operation);
  EXPECT_EQ(operation->status, 403);
  EXPECT_TRUE(rig.station().operations.empty());
}

TEST(WebServer, OperationsNeedTheLoginAndItsToken) {
  WebRig rig({});
  WritePasswordHash(rig.folder(), HashPassword("dome key"));
  EXPECT_NE(ReadPasswordHash(rig.folder())->find("dome key"), 0u) << "never kept in clear";

  auto wrong = PostForm(rig.client(), "/api/login", "password=dome+kez");
  ASSERT_TRUE(wrong);
  EXPECT_EQ(wrong->status, 401);
  EXPECT_FALSE(wrong->has_header("Set-Cookie"));
  EXPECT_EQ(PostForm(rig.client(), "/api/operation", "op=heater&on=1")->status, 401);

  auto login = PostForm(rig.client(), "/api/login", "password=dome+key");
  ASSERT_TRUE(login);
  ASSERT_EQ(login->status, 200);
  const std::string cookie = login->get_header_value("Set-Cookie");
  EXPECT_NE(cookie.find("HttpOnly"), std::string::npos) << cookie;
  EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos) << cookie;
  const std::string csrf = nlohmann::json::parse(login->body)["csrf"];
  httplib::Headers withToken = CookieOf(login);
  const auto session = nlohmann::json::parse(rig.client().Get("/api/session", withToken)->body);
  EXPECT_EQ(session["loggedIn"], true);
  EXPECT_EQ(session["csrf"], csrf);

  // The cookie alone, as another site's form would send it, changes nothing.
  EXPECT_EQ(PostForm(rig.client(), "/api/operation", "op=heater&on=1", withToken)->status, 403);
  // A token one character off (the first, made sure to differ from the real one's).
  withToken.emplace("X-CSRF-Token", (csrf[0] == '0' ? "1" : "0") + csrf.substr(1));
  EXPECT_EQ(PostForm(rig.client(), "/api/operation", "op=heater&on=1", withToken)->status, 403);
  EXPECT_TRUE(rig.station().operations.empty());

  withToken = CookieOf(login);
  withToken.emplace("X-CSRF-Token", csrf);
  const struct {
    const char* form;
    int status;
    const char* said;  // the error, or the operation that reached the board
  } cases[] = {
      {"op=heater&on=1", 200, "heater on"},
      {"op=autoheat&on=0", 200, "automatic heating off"},
      {"op=thresholds&temp=2.5&rh=85&power=50", 200,
       "thresholds 2.5 \xC2\xB0"
       "C 85 %RH power 50 %"},
      {"op=cooling&mode=auto&on=1", 200, "automatic cooling on"},
      {"op=thresholds&temp=101&rh=85&power=50", 400, "Figure too large compared to :100"},
      {"op=thresholds&temp=2&rh=-1&power=50", 400, "Figure too small compared to  :0"},
      {"op=thresholds&temp=2&rh=85&power=0", 400, "Figure too small compared to  :1"},
      {"op=thresholds&temp=2&rh=85&power=50.5", 400, "50.5 is not a integer figure !"},
      {"op=thresholds&temp=abc&rh=85&power=50", 400, "Invalid input !"},
      {"op=heater&on=yes", 400, "on must be 0 or 1"},
      {"op=cooling&mode=fast&on=1", 400, "mode must be manual or auto"},
      {"op=aperture&index=256", 400, "index must be a whole number from 0 to 255"},
      {"op=focus&move=max", 200, "focus max"},
      {"op=focus&move=rel&value=-300", 200, "focus offset (rel.) -300"},
      {"op=focus&move=abs&value=$3E8", 200, "focus offset (abs.) 1000"},
      {"op=focus&move=rel&value=32768", 400, "Range check error"},
      // Refused on the session's thread: too far from where the lens is.
      {"op=focus&move=abs&value=40000", 400, "Range check error"},
      {"op=focus&move=rel&value=1.5", 400, "'1.5' is not a valid integer value"},
      {"op=focus&move=abs&value=", 400, "value is missing"},
      {"op=focus&move=up", 400, "move must be max, min, rel or abs"},
      {"op=reboot", 400,
       "op must be heater, autoheat, thresholds, cooling, aperture, iris or focus"},
  };
  std::vector<std::string> reached;
  for (const auto& c : cases) {
    auto answer = PostForm(rig.client(), "/api/operation", c.form, withToken);
    ASSERT_TRUE(answer) << c.form;
    EXPECT_EQ(answer->status, c.status) << c.form;
    const auto json = nlohmann::json::parse(answer->body);
    if (c.status == 200) {
      reached.push_back(c.said);
    } else {
      EXPECT_EQ(json["error"], c.said) << c.form;
    }
  }
  EXPECT_EQ(rig.station().operations, reached) << "nothing refused reached the board";

  EXPECT_EQ(PostForm(rig.client(), "/api/logout", "", withToken)->status, 200);
  EXPECT_EQ(PostForm(rig.client(), "/api/operation", "op=heater&on=0", withToken)->status, 401);
}

TEST(WebServer, FailedLoginsAreLimited) {
  WebRig rig({});
  WritePasswordHash(rig.folder(), HashPassword("right"));
  for (int i = 0; i < WebLogins::kFailuresAllowed; ++i) {
    EXPECT_EQ(PostForm(rig.client(), "/api/login", "password=wrong")->status, 401) << i;
  }
  auto locked = PostForm(rig.client(), "/api/login", "password=right");
  ASSERT_TRUE(locked);
  EXPECT_EQ(locked->status, 429) << "not even the right one, for a while";
  EXPECT_FALSE(locked->has_header("Set-Cookie"));
}

TEST(LogTail, TheNewestWholeLinesOfALongFile) {
  test::TempFolder folder;
  std::string text;
  for (int i = 0; i < 5000; ++i) {
    text += "line " + std::to_string(i) + "\r\n";
  }
  text += "a line being writ";  // no end yet
  test::WriteFile(folder / "log.txt", text);
  EXPECT_EQ(LogTail(folder / "log.txt", 2), (std::vector<std::string>{"line 4998", "line 4999"}));
  EXPECT_EQ(LogTail(folder / "log.txt", 1000).front(), "line 4000");
  EXPECT_TRUE(LogTail(folder / "absent.txt", 10).empty());
}

}  // namespace
}  // namespace vesk
