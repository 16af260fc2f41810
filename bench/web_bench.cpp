// The web page's costs, each beside its baseline in the same run:
// - the poll with 100 live pages listening (Server-Sent Events) against none: what a poll
//   adds is the state's JSON and one event left for each connection to send;
// - the "6M" series of a ten-year history at 1000 columns against the same request over a
//   one-day history (its "24h" window fills the same 1000 columns; its "6M" window only a
//   few), through HTTP as the page asks them (the reduction reads the history's
//   block summary, kept between requests, not the records).
// Run: build/bin/bench_web (Release or RelWithDebInfo build); the ten-year history takes
// 2.3 GB and some seconds to make (leave it out with --benchmark_filter=-TenYears).
// docs/PERFORMANCE.md has the figures.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "common/datetime.h"
#include "history/synthetic_history.h"
#include "web/web_server.h"

namespace vesk {
namespace {

class BenchStation final : public WebStation {
 public:
  explicit BenchStation(TTinfosRec history) : history_(std::move(history)) {}
  void Post(std::function<void()> job) override {
    std::lock_guard lock(mutex_);
    job();
  }
  const TTinfosRec& History() const override { return history_; }
  TSeriesFlags Flags() const override { return {true, true, true, false}; }
  std::string Operate(const WebOperation&) override { return {}; }

 private:
  std::mutex mutex_;
  TTinfosRec history_;
};

// A state as a weather model's poll leaves it.
WebLiveState PolledState() {
  WebLiveState state;
  TinfosRec rec;
  rec.Date = Now();
  rec.TempExt = 7.6;
  rec.RHExt = 81.7;
  rec.TempInt = 15.4;
  rec.RHInt = 71.2;
  rec.TempHot = 27.4;
  rec.Pressure = 1017.1;
  rec.WindSpeed = 6.4;
  rec.Windir = 258;
  state.readings = FormatReadings(rec);
  state.record = rec;
  state.connected = state.polled = true;
  state.model = " [Astel9 Weather]";
  state.integrations = "Alpaca: off | MQTT: off | Web: served on 127.0.0.1:8080";
  return state;
}

// Live pages: sockets that asked for the events, drained by one thread.
class Listeners {
 public:
  Listeners(int port, int count) {
    for (int i = 0; i < count; ++i) {
      const int s = ::socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_port = htons(static_cast<std::uint16_t>(port));
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
      const std::string request = "GET /api/events HTTP/1.1\r\nHost: x\r\n\r\n";
      ::send(s, request.data(), request.size(), MSG_NOSIGNAL);
      sockets_.push_back(s);
    }
    drain_ = std::thread([this] {
      std::vector<pollfd> fds;
      for (const int s : sockets_) {
        fds.push_back({s, POLLIN, 0});
      }
      // An event ends with a blank line; the last byte of each socket's read carries over.
      std::vector<char> last(fds.size(), 0);
      char sink[65536];
      while (!stop_) {
        if (::poll(fds.data(), fds.size(), 50) > 0) {
          for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].revents & POLLIN) {
              const auto got = ::recv(fds[i].fd, sink, sizeof sink, 0);
              for (ssize_t k = 0; k < got; ++k) {
                if (sink[k] == '\n' && last[i] == '\n') {
                  ++events_;
                }
                last[i] = sink[k];
              }
            }
          }
        }
      }
    });
  }
  // Events received by all the listeners together.
  long long Events() const { return events_; }
  ~Listeners() {
    stop_ = true;
    drain_.join();
    for (const int s : sockets_) {
      ::close(s);
    }
  }

 private:
  std::vector<int> sockets_;
  std::atomic<bool> stop_{false};
  std::atomic<long long> events_{0};
  std::thread drain_;
};

void BM_Poll_LivePages(benchmark::State& state) {
  BenchStation station({});
  WebServer server(station, ".");
  server.Start("127.0.0.1", 0);
  const int count = static_cast<int>(state.range(0));
  Listeners listeners(server.Port(), count);
  while (server.Listeners() < static_cast<std::size_t>(count)) {
    std::this_thread::yield();
  }
  WebLiveState polled = PolledState();
  // Each poll comes once the previous one's events have left, as polls seconds apart do.
  long long expected = listeners.Events();
  for (auto _ : state) {
    server.Publish(polled);
    state.PauseTiming();
    expected += count;
    while (listeners.Events() < expected) {
      std::this_thread::yield();
    }
    state.ResumeTiming();
  }
  state.counters["listeners"] = static_cast<double>(server.Listeners());
}

std::unique_ptr<httplib::Client> SeriesClient(WebServer& server) {
  auto client = std::make_unique<httplib::Client>("127.0.0.1", server.Port());
  client->set_read_timeout(600, 0);
  return client;
}

void Series(benchmark::State& state, double days, const char* window) {
  const auto count = static_cast<std::size_t>(days * 8640);
  BenchStation station(GenerateHistory(Now() - days, count, 10.0));
  WebServer server(station, ".");
  server.Start("127.0.0.1", 0);
  auto client = SeriesClient(server);
  // The first request summarises the history; the page's later ones find it kept.
  const std::string target = std::string("/api/series?window=") + window + "&columns=1000";
  client->Get(target.c_str());
  for (auto _ : state) {
    auto answer = client->Get(target.c_str());
    if (!answer || answer->status != 200) {
      state.SkipWithError("no series");
      break;
    }
    benchmark::DoNotOptimize(answer->body.data());
  }
}

// The same reduction to 1000 full columns over a one-day history: its own day.
void BM_Series24h_OneDay(benchmark::State& state) {
  Series(state, 1, "24h");
}
void BM_Series6M_OneDay(benchmark::State& state) {
  Series(state, 1, "6M");
}
void BM_Series6M_TenYears(benchmark::State& state) {
  Series(state, 3650, "6M");
}

BENCHMARK(BM_Poll_LivePages)->Arg(0)->Arg(100)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Series24h_OneDay)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Series6M_OneDay)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Series6M_TenYears)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
