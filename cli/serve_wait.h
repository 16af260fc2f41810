#pragma once

#include <chrono>
#include <string>

namespace vesk::cli {

// What serve's loop waits on, one file per system: the system's requests to stop and the
// wake-up of its call queue. POSIX (serve_wait_posix.cpp): SIGTERM, SIGINT and SIGHUP read
// through a signal descriptor, the wake-up a pipe, both watched by one poll(). Windows
// (serve_wait_win32.cpp): Ctrl+C, Ctrl+Break and the console's closing, told by a console
// control handler through an event, the wake-up another event, both watched by one
// WaitForMultipleObjects.
class ServeWait {
 public:
  using Clock = std::chrono::steady_clock;

  struct Woken {
    enum Kind { Due, Queued, Stop };
    Kind kind = Due;
    std::string stop;  // for Stop: what asked, "SIGTERM", "Ctrl+C"
  };

  // The stop requests are taken from their usual handling here, before any thread starts
  // (so every poll worker leaves them to this wait). Throws Exception when they cannot be.
  ServeWait();
  ~ServeWait();
  ServeWait(const ServeWait&) = delete;
  ServeWait& operator=(const ServeWait&) = delete;

  // From any thread: the next Wait returns Queued (at once, when one runs).
  void Wake();

  // Waits until `until`, a Wake since the last Queued, or a stop request; a stop request
  // comes first when both wait.
  Woken Wait(Clock::time_point until);

  // How serve is stopped on this system, for its usage text.
  static const char* StopRequests();

 private:
#ifdef _WIN32
  void* wake_ = nullptr;  // an auto-reset event
#else
  int stopFd_ = -1;  // the signal descriptor
  int wakePipe_[2] = {-1, -1};
#endif
};

}  // namespace vesk::cli
