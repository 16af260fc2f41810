#include <windows.h>

#include <algorithm>
#include <atomic>

#include "cli/serve_wait.h"
#include "common/exceptions.h"

namespace vesk::cli {
namespace {

// The console control handler runs on a thread the system starts for it: what it tells
// lives as long as the process.
HANDLE g_stop = nullptr;   // manual-reset: set by the first request, for good
HANDLE g_saved = nullptr;  // set once serve has saved and closed the port
std::atomic<DWORD> g_request{~DWORD{0}};

BOOL WINAPI OnConsoleControl(DWORD type) {
  DWORD none = ~DWORD{0};
  g_request.compare_exchange_strong(none, type);
  SetEvent(g_stop);
  if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT) {
    // The system ends the process as soon as this returns: the history is saved first,
    // within the time the system gives.
    WaitForSingleObject(g_saved, INFINITE);
  }
  return TRUE;
}

std::string RequestName(DWORD type) {
  switch (type) {
    case CTRL_C_EVENT:
      return "Ctrl+C";
    case CTRL_BREAK_EVENT:
      return "Ctrl+Break";
    case CTRL_CLOSE_EVENT:
      return "the console's closing";
    case CTRL_LOGOFF_EVENT:
      return "the user's logoff";
    case CTRL_SHUTDOWN_EVENT:
      return "the system's shutdown";
    default:
      return "console event " + std::to_string(type);
  }
}

}  // namespace

ServeWait::ServeWait() {
  if (g_stop == nullptr) {
    g_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_saved = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
  wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (g_stop == nullptr || g_saved == nullptr || wake_ == nullptr) {
    throw Exception("Cannot make serve's call queue");
  }
  if (!SetConsoleCtrlHandler(OnConsoleControl, TRUE)) {
    throw Exception("Cannot take the console's stop requests");
  }
}

ServeWait::~ServeWait() {
  SetEvent(g_saved);
  CloseHandle(wake_);
}

void ServeWait::Wake() {
  SetEvent(wake_);
}

ServeWait::Woken ServeWait::Wait(Clock::time_point until) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
  const HANDLE handles[2] = {g_stop, wake_};
  // The first handle set wins: a stop before the queue.
  const DWORD woken = WaitForMultipleObjects(
      2, handles, FALSE,
      static_cast<DWORD>(std::clamp<long long>(left, 0, static_cast<long long>(INFINITE) - 1)));
  if (woken == WAIT_OBJECT_0) {
    return {Woken::Stop, RequestName(g_request.load())};
  }
  if (woken == WAIT_OBJECT_0 + 1) {
    return {Woken::Queued, {}};
  }
  return {Woken::Due, {}};
}

const char* ServeWait::StopRequests() {
  return "Ctrl+C, Ctrl+Break or the console's closing";
}

}  // namespace vesk::cli
