// The simulated board in a Windows process: the board end of a named pipe, which the station
// opens by its name as it opens a COM port. Every wait also waits on the stop's event.
#include <windows.h>

#include <atomic>

#include "common/exceptions.h"
#include "link/link_timing.h"
#include "sim/in_process_board.h"
#include "sim/request_framer.h"

namespace vesk::sim {
namespace {

constexpr DWORD kStalledFrameMs = 500;

std::string NewPipeName() {
  static std::atomic<int> count{0};
  return "\\\\.\\pipe\\vesk-board-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(count++);
}

// One overlapped step on the pipe: waits for its end, the stop, or the time.
enum class Step { Done, Failed, Stop, TimedOut };

class Overlapped {
 public:
  Overlapped() { ov_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
  ~Overlapped() { CloseHandle(ov_.hEvent); }
  Overlapped(const Overlapped&) = delete;
  Overlapped& operator=(const Overlapped&) = delete;

  OVERLAPPED* get() {
    ResetEvent(ov_.hEvent);
    return &ov_;
  }

  // After a call that returned `started` (its result) on `pipe`.
  Step Finish(HANDLE pipe, BOOL started, HANDLE stop, DWORD timeoutMs, DWORD* count = nullptr) {
    DWORD done = 0;
    if (!started && GetLastError() != ERROR_IO_PENDING) {
      return GetLastError() == ERROR_PIPE_CONNECTED ? Step::Done : Step::Failed;
    }
    const HANDLE handles[2] = {stop, ov_.hEvent};
    const DWORD woken = WaitForMultipleObjects(2, handles, FALSE, timeoutMs);
    if (woken != WAIT_OBJECT_0 + 1) {
      CancelIo(pipe);
      GetOverlappedResult(pipe, &ov_, &done, TRUE);
      return woken == WAIT_OBJECT_0 ? Step::Stop : Step::TimedOut;
    }
    if (!GetOverlappedResult(pipe, &ov_, &done, FALSE)) {
      return Step::Failed;
    }
    if (count != nullptr) {
      *count = done;
    }
    return Step::Done;
  }

 private:
  OVERLAPPED ov_{};
};

}  // namespace

InProcessBoard::InProcessBoard(const BoardSetup& setup, BoardClock clock)
    : board_(setup, std::move(clock)), pipeName_(NewPipeName()) {
  pipe_ =
      CreateNamedPipeA(pipeName_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                       PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (pipe_ == INVALID_HANDLE_VALUE || stop_ == nullptr) {
    throw Exception("Cannot create the pipe of the simulated board");
  }
  thread_ = std::thread([this] { serve(); });
}

InProcessBoard::~InProcessBoard() {
  SetEvent(stop_);
  thread_.join();
  CloseHandle(pipe_);
  CloseHandle(stop_);
}

// One station at a time: it connects, sends its orders and gets each reply whole; when the
// station closes its end, the pipe waits for the next one.
void InProcessBoard::serve() {
  const HANDLE pipe = pipe_;
  Overlapped overlapped;
  for (;;) {
    const Step connected =
        overlapped.Finish(pipe, ConnectNamedPipe(pipe, overlapped.get()), stop_, INFINITE);
    if (connected == Step::Stop) {
      return;
    }
    RequestFramer framer;
    bool open = connected == Step::Done;
    while (open) {
      std::uint8_t chunk[256];
      DWORD got = 0;
      const Step read =
          overlapped.Finish(pipe, ReadFile(pipe, chunk, sizeof chunk, nullptr, overlapped.get()),
                            stop_, framer.pending() ? kStalledFrameMs : INFINITE, &got);
      if (read == Step::Stop) {
        return;
      }
      if (read == Step::TimedOut) {
        framer.reset();
        continue;
      }
      open = read == Step::Done;
      for (const TArrayByte& frame : open ? framer.feed(chunk, got) : std::vector<TArrayByte>{}) {
        TArrayByte reply;
        std::chrono::milliseconds delay{0};
        {
          std::lock_guard lock(mutex_);
          reply = board_.answer(frame);
          delay = board_.replyDelay();
        }
        if (reply.empty()) {
          // Silent: the station's read gives up, as on a line, once the time-out has gone.
          delay = CurrentLinkTiming().readTimeout;
        }
        if (delay.count() > 0 &&
            WaitForSingleObject(stop_, static_cast<DWORD>(delay.count())) == WAIT_OBJECT_0) {
          return;
        }
        if (reply.empty()) {
          open = false;
          break;
        }
        DWORD written = 0;
        const Step write =
            overlapped.Finish(pipe,
                              WriteFile(pipe, reply.data(), static_cast<DWORD>(reply.size()),
                                        nullptr, overlapped.get()),
                              stop_, INFINITE, &written);
        if (write == Step::Stop) {
          return;
        }
        open = write == Step::Done;
      }
    }
    DisconnectNamedPipe(pipe);
  }
}

}  // namespace vesk::sim
