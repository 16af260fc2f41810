#include "indi/session_serial.h"

#include <utility>

namespace vesk::indi {

SessionSerial::SessionSerial(INDI::DefaultDevice* device, Open open, Close close)
    : Connection::Serial(device), open_(std::move(open)), close_(std::move(close)) {
  // What the board speaks; the session sets the line itself.
  setDefaultBaudRate(B_115200);
}

bool SessionSerial::Connect() {
  const char* path = port();
  return path != nullptr && *path != '\0' && open_(path);
}

bool SessionSerial::Disconnect() {
  close_();
  return true;
}

}  // namespace vesk::indi
