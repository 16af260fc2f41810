#include "link/link_timing.h"

#include <atomic>

namespace vesk {
namespace {

// Atomics: a test may set the timing while an earlier test's threads still end.
std::atomic<long long> readTimeoutMs{LinkTiming{}.readTimeout.count()};
std::atomic<long long> settlePauseMs{LinkTiming{}.settlePause.count()};

}  // namespace

LinkTiming CurrentLinkTiming() {
  return {std::chrono::milliseconds(readTimeoutMs.load()),
          std::chrono::milliseconds(settlePauseMs.load())};
}

void SetLinkTiming(const LinkTiming& timing) {
  readTimeoutMs = timing.readTimeout.count();
  settlePauseMs = timing.settlePause.count();
}

}  // namespace vesk
