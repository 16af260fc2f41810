// An Alpaca request's latency and the server's throughput with 1 and with 100 clients, each on
// a keep-alive connection of its own sending GETs one after the other. Baseline in the same
// run: the same clients against a bare cpp-httplib server with the library's defaults on
// another port, answering a constant JSON body of the Alpaca answer's size: what the HTTP
// library itself does on this machine. The Alpaca server is the program's, started as the
// monitor starts it, its reading from one poll of the in-process simulated board.
// Run: build/bin/bench_alpaca. docs/PERFORMANCE.md has the figures.

#include <benchmark/benchmark.h>
#include <httplib.h>
#include <sys/socket.h>

#include <memory>
#include <string>
#include <thread>

#include "bench/bench_timing.h"
#include "bench/http_load.h"
#include "tests/integrations/alpaca_rig.h"

namespace vesk {
namespace {

using bench::HttpLoad;
using bench::Percentile;

constexpr char kTarget[] = "/api/v1/observingconditions/0/temperature";
// Requests of one round, spread over the clients.
constexpr int kRequestsPerRound = 20000;
constexpr std::size_t kBareThreads = 128;

// The library's own thread pool with a thread for each client and more, answers sent without
// waiting (TCP_NODELAY) and a listen queue as long as the Alpaca server's: with the library's
// defaults (8 threads, a queue of 5 connections) it refuses connections under this load.
class BareServer {
 public:
  explicit BareServer(const std::string& body) {
    server_.new_task_queue = [] { return new httplib::ThreadPool(kBareThreads); };
    server_.set_tcp_nodelay(true);
    int listening = -1;
    server_.set_socket_options([&listening](int socket) {
      const int yes = 1;
      ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
      listening = socket;
    });
    server_.Get(".*", [body](const httplib::Request&, httplib::Response& response) {
      response.set_content(body, "application/json");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    ::listen(listening, SOMAXCONN);
    server_.set_socket_options([](int) {});
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) {
      std::this_thread::yield();
    }
  }
  ~BareServer() {
    server_.stop();
    thread_.join();
  }
  int port() const { return port_; }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
};

// The Alpaca server with the devices connected and a reading that never ages (the rig's
// clock stands still), and the bare server answering as many bytes.
struct Servers {
  Servers() {
    rig.ConnectDevices();
    if (!rig.station().Poll()) {
      std::abort();
    }
    const auto answer = rig.Get(std::string(kTarget) + "?ClientTransactionID=100");
    if (answer.status != 200 || answer.json.value("ErrorNumber", -1) != 0) {
      std::abort();
    }
    bare = std::make_unique<BareServer>(answer.body);
  }

  test::AlpacaRig rig;
  std::unique_ptr<BareServer> bare;
};

Servers& TheServers() {
  static Servers servers;
  return servers;
}

struct Figures {
  std::vector<double> latencies;
  std::size_t requests = 0;
  std::size_t failures = 0;
  std::string firstFailure;
  double seconds = 0.0;

  void Add(const HttpLoad& load) {
    latencies.insert(latencies.end(), load.latencies.begin(), load.latencies.end());
    requests += load.latencies.size() + load.failures;
    if (failures == 0) {
      firstFailure = load.firstFailure;
    }
    failures += load.failures;
    seconds += load.seconds;
  }

  void Report(benchmark::State& state, const std::string& name) const {
    state.counters[name + "_median_us"] = 1e6 * Percentile(latencies, 0.5);
    state.counters[name + "_p99_us"] = 1e6 * Percentile(latencies, 0.99);
    state.counters[name + "_max_ms"] = 1e3 * Percentile(latencies, 1.0);
    state.counters[name + "_per_s"] = static_cast<double>(latencies.size()) / seconds;
    state.counters[name + "_failed"] = static_cast<double>(failures);
  }
};

// Each iteration: one round against each server, the first one changing every time.
void BM_Alpaca_VsBareHttplib(benchmark::State& state) {
  Servers& servers = TheServers();
  const int clients = static_cast<int>(state.range(0));
  const int each = kRequestsPerRound / clients;
  const int alpacaPort = servers.rig.integrations().AlpacaPort();
  Figures alpaca;
  Figures bare;
  bool alpacaFirst = false;
  for (auto _ : state) {
    alpacaFirst = !alpacaFirst;
    if (!alpacaFirst) {
      bare.Add(bench::RunHttpLoad(servers.bare->port(), kTarget, clients, each));
    }
    const HttpLoad load = bench::RunHttpLoad(alpacaPort, kTarget, clients, each);
    state.SetIterationTime(load.seconds);
    alpaca.Add(load);
    if (alpacaFirst) {
      bare.Add(bench::RunHttpLoad(servers.bare->port(), kTarget, clients, each));
    }
  }
  alpaca.Report(state, "alpaca");
  bare.Report(state, "bare");
  const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
  state.counters["median_over_bare"] =
      ratio(Percentile(alpaca.latencies, 0.5), Percentile(bare.latencies, 0.5));
  state.counters["p99_over_bare"] =
      ratio(Percentile(alpaca.latencies, 0.99), Percentile(bare.latencies, 0.99));
  state.counters["per_s_over_bare"] =
      ratio(static_cast<double>(alpaca.latencies.size()) / alpaca.seconds,
            static_cast<double>(bare.latencies.size()) / bare.seconds);
  if (alpaca.failures + bare.failures > 0) {
    state.SetLabel("first failure: alpaca " + alpaca.firstFailure + ", bare " + bare.firstFailure);
  }
}

BENCHMARK(BM_Alpaca_VsBareHttplib)
    ->ArgName("clients")
    ->Arg(1)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(4);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
