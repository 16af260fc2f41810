#include "cli/serve_loop.h"

#include <algorithm>
#include <exception>
#include <ostream>
#include <string>

#include "acquisition/thread_request.h"
#include "cli/cli_command.h"
#include "cli/serve_output.h"
#include "cli/serve_wait.h"
#include "cli/session_queue.h"
#include "common/datetime.h"
#include "common/event_log.h"

namespace vesk::cli {
namespace {

using Clock = ServeLoop::Clock;

Clock::duration Ticks(std::chrono::duration<double> seconds) {
  return std::chrono::duration_cast<Clock::duration>(seconds);
}

// Waits until `until` or a stop request, running the calls queued meanwhile; what asked for
// the stop when one came.
std::optional<std::string> WaitForStop(ServeWait& wait, SessionQueue& queue,
                                       Clock::time_point until) {
  for (;;) {
    ServeWait::Woken woken = wait.Wait(until);
    if (woken.kind == ServeWait::Woken::Queued) {
      queue.RunQueued();
      continue;
    }
    if (woken.kind == ServeWait::Woken::Stop) {
      return std::move(woken.stop);
    }
    return std::nullopt;
  }
}

}  // namespace

ServeLoop::ServeLoop(const ServeOptions& options, ServeWait& wait, std::ostream& out,
                     std::ostream& err)
    : options_(options),
      out_(out),
      err_(err),
      wait_(wait),
      queue_([&wait] { wait.Wake(); }),
      // Every poll waits on this thread; the web page's jobs come through the queue.
      session_(
          options.folder, options.settings,
          [this](std::function<void()> call) { queue_.Post(std::move(call)); }, *this) {}

int ServeLoop::Run() {
  StationSession::LogOpened();
  session_.LoadHistory();
  session_.SetPollPeriod(std::chrono::ceil<std::chrono::milliseconds>(options_.period));
  session_.StartIntegrations();
  if (!session_.Connect(options_.settings.comNum)) {
    session_.StopIntegrations();
    StationSession::LogClosed();
    return kExitFailure;
  }
  const auto start = Clock::now();
  nextPoll_ = start + Ticks(options_.period);
  nextSave_ = start + Ticks(std::chrono::duration<double>(options_.settings.savePeriod));

  std::optional<std::string> stop;
  try {
    while (!(stop = WaitForStop(wait_, queue_, NextDue()))) {
      const auto now = Clock::now();
      if (now >= nextSave_) {
        session_.PeriodicSave();
        nextSave_ = std::max(
            nextSave_ + Ticks(std::chrono::duration<double>(options_.settings.savePeriod)), now);
      }
      if (session_.Reconnecting()) {
        if (now >= nextAttempt_) {
          nextAttempt_ = now + Retry();
          session_.ReconnectTick();
        }
      } else if (now >= nextPoll_) {
        Poll();
      }
    }
  } catch (const std::exception& e) {
    // Whatever went wrong, the readings taken so far are saved before the end.
    PrintError(std::string("vesk-cli serve: ") + e.what());
    Stop(e.what());
    return kExitFailure;
  }
  return Stop("Stopped by " + *stop);
}

ServeLoop::Clock::duration ServeLoop::Retry() const {
  return Ticks(std::chrono::duration<double>(options_.settings.reconnectPeriod));
}

ServeLoop::Clock::time_point ServeLoop::NextDue() const {
  return std::min(nextSave_, session_.Reconnecting() ? nextAttempt_ : nextPoll_);
}

void ServeLoop::PrintError(const std::string& text) {
  std::lock_guard lock(errMutex_);
  err_ << text << "\n" << std::flush;
}

void ServeLoop::ConnectFailed(const std::string& text) {
  PrintError(text);
}

void ServeLoop::PollApplied(const ThreadRequest& worker) {
  ++polls_;
  const bool succeeded = worker.ErrorMes.empty();
  const Station& station = session_.station();
  // A reading is printed with the date its history record holds.
  const TDateTime when =
      succeeded && !station.Datas().empty() ? station.Datas().back().Date : Now();
  out_ << (options_.json ? ServePollJson(polls_, when, worker)
                         : ServePollText(polls_, when, station.Identity(), worker))
       << std::flush;
}

void ServeLoop::LinkLost() {
  nextAttempt_ = Clock::now() + Retry();
}

void ServeLoop::Connected(bool /*newConnection*/) {
  nextPoll_ = Clock::now() + Ticks(options_.period);
}

void ServeLoop::LogTrouble(const std::string& text, bool /*failing*/) {
  // From whichever thread wrote the line.
  PrintError("vesk-cli serve: " + text);
}

void ServeLoop::Poll() {
  // Polls start a period apart; one that took longer delays the next, as in the monitor.
  nextPoll_ += Ticks(options_.period);
  session_.Poll(true);
  nextPoll_ = std::max(nextPoll_, Clock::now());
}

int ServeLoop::Stop(const std::string& why) {
  WriteLog(why);
  std::string failure;
  const bool saved = session_.Shutdown(&failure);
  if (!saved) {
    PrintError("vesk-cli serve: " + failure);
  }
  StationSession::LogClosed();
  return saved ? kExitOk : kExitFailure;
}

}  // namespace vesk::cli
