#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vesk::bench {

struct HttpLoad {
  std::vector<double> latencies;  // seconds, one for each request answered with 200
  std::size_t failures = 0;       // requests with no answer or another status
  std::string firstFailure;
  double seconds = 0.0;  // from the first request sent to the last answer
};

// clients threads, each on a keep-alive connection of its own to 127.0.0.1:port, each sending
// requestsEach GETs of target + "?ClientTransactionID=" + n one after the other, all starting
// at once once every thread is ready.
HttpLoad RunHttpLoad(int port, const std::string& target, int clients, int requestsEach);

}  // namespace vesk::bench
