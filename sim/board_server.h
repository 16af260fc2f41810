#pragma once

#include <chrono>
#include <functional>

#include "common/byte_array.h"

namespace vesk::sim {

struct ServedReply {
  TArrayByte bytes;  // none: nothing is sent
  std::chrono::milliseconds delay{0};
};

// Turns one request frame into what goes back on the line.
using Responder = std::function<ServedReply(const TArrayByte& requestFrame)>;

// Serves the board end of a line (a pseudo-terminal's master) until stopFd turns readable:
// request frames are cut from the bytes as they come, a frame that stalls half-way is
// forgotten after half a second, and each reply is written whole after its delay. The stop
// is heard while waiting for requests, during a delay and during a write. Sets the line
// non-blocking.
void ServeBoard(int lineFd, int stopFd, const Responder& respond);

}  // namespace vesk::sim
