#include "bench/http_load.h"

#include <httplib.h>

#include <chrono>
#include <latch>
#include <mutex>
#include <thread>

namespace vesk::bench {

HttpLoad RunHttpLoad(int port, const std::string& target, int clients, int requestsEach) {
  HttpLoad load;
  std::mutex mutex;  // protects load
  std::latch ready(clients + 1);
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&] {
      httplib::Client client("127.0.0.1", port);
      client.set_keep_alive(true);
      std::vector<double> latencies;
      latencies.reserve(static_cast<std::size_t>(requestsEach));
      std::size_t failures = 0;
      std::string firstFailure;
      ready.arrive_and_wait();
      for (int n = 1; n <= requestsEach; ++n) {
        const std::string path = target + "?ClientTransactionID=" + std::to_string(n);
        const auto start = std::chrono::steady_clock::now();
        const httplib::Result result = client.Get(path.c_str());
        const auto end = std::chrono::steady_clock::now();
        if (result && result->status == 200) {
          latencies.push_back(std::chrono::duration<double>(end - start).count());
          continue;
        }
        if (failures++ == 0) {
          firstFailure = result ? "status " + std::to_string(result->status)
                                : "error " + httplib::to_string(result.error());
        }
      }
      std::lock_guard lock(mutex);
      load.latencies.insert(load.latencies.end(), latencies.begin(), latencies.end());
      if (load.failures == 0 && failures > 0) {
        load.firstFailure = firstFailure;
      }
      load.failures += failures;
    });
  }
  ready.arrive_and_wait();
  const auto start = std::chrono::steady_clock::now();
  for (auto& thread : threads) {
    thread.join();
  }
  load.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return load;
}

}  // namespace vesk::bench
