#pragma once

#include <chrono>

namespace vesk {

// The link's two waits, the same for every port of the process: the board's values unless a
// test sets shorter ones (a silent board costs each test that meets it the whole read
// time-out). Taken by each port as it opens and by each connection as it starts.
struct LinkTiming {
  // A read's whole wait for the bytes asked for.
  std::chrono::milliseconds readTimeout{2000};
  // After the port opens, before the board is asked for its version: it needs a moment.
  std::chrono::milliseconds settlePause{100};
};

LinkTiming CurrentLinkTiming();
void SetLinkTiming(const LinkTiming& timing);

}  // namespace vesk
