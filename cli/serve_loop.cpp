#include "cli/serve_loop.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <exception>
#include <ostream>
#include <string>

#include "acquisition/thread_request.h"
#include "cli/cli_command.h"
#include "cli/serve_output.h"
#include "common/datetime.h"
#include "common/event_log.h"
#include "station/connect_sequence.h"

namespace vesk::cli {
namespace {

using Clock = ServeLoop::Clock;

Clock::duration Ticks(std::chrono::duration<double> seconds) {
  return std::chrono::duration_cast<Clock::duration>(seconds);
}

// serve's own lines: a log that cannot be written must not stop the polls or the last save.
void Note(const std::string& text) {
  try {
    WriteLog(text);
  } catch (...) {
  }
}

// The integrations' lines go to serve's log; they never throw back into a server's thread.
IntegrationsOptions IntegrationsLogged() {
  IntegrationsOptions options;
  options.log = [](const std::string& line) { WriteLog(line); };
  return options;
}

std::string SignalName(std::uint32_t signal) {
  switch (signal) {
    case SIGTERM:
      return "SIGTERM";
    case SIGINT:
      return "SIGINT";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "signal " + std::to_string(signal);
  }
}

// Waits until `until` or a stop signal; the signal's name when one came.
std::optional<std::string> WaitForStop(int stopFd, Clock::time_point until) {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    pollfd p{stopFd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(std::clamp<long long>(left, 0, INT_MAX)));
    if (ready > 0) {
      signalfd_siginfo info{};
      if (read(stopFd, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) {
        return "a stop signal";
      }
      return SignalName(info.ssi_signo);
    }
    if (ready == 0 || errno != EINTR) {
      return std::nullopt;
    }
  }
}

}  // namespace

ServeLoop::ServeLoop(const ServeOptions& options, std::ostream& out, std::ostream& err)
    : options_(options),
      out_(out),
      err_(err),
      // Every poll waits on this thread: nothing is ever posted.
      station_(options.folder, [](std::function<void()> call) { call(); }),
      reconnection_(station_),
      integrations_(options.alpaca, options.mqtt, IntegrationsLogged()) {
  reconnection_.SetEnabled(options.autoReconnect);
  station_.SetHumidity(options.humidity);
  station_.SetPollPresenter([this](const ThreadRequest& worker) { Present(worker); });
}

int ServeLoop::Run(int stopFd) {
  Note("Application opened");
  station_.LoadHistoryAtStart();
  // Before the connection, so its first poll already reaches the observatory; each says in
  // the log whether it runs and why not.
  integrations_.SetPollPeriod(std::chrono::ceil<std::chrono::milliseconds>(options_.period));
  integrations_.Start();
  try {
    ConnectStation(station_, options_.comNum);
  } catch (const std::exception& e) {
    const std::string text = std::string("Issue with data link (FATAL ERROR) : ") + e.what();
    Note(text);
    err_ << text << "\n";
    integrations_.Stop();
    Note("Application closed\r\n");
    return kExitFailure;
  }
  reconnection_.Watch(options_.comNum);
  const auto start = Clock::now();
  nextPoll_ = start + Ticks(options_.period);
  nextSave_ = start + kSavePeriod;

  std::optional<std::string> stop;
  try {
    while (!(stop = WaitForStop(stopFd, NextDue()))) {
      const auto now = Clock::now();
      if (now >= nextSave_) {
        PeriodicSave();
        nextSave_ = std::max(nextSave_ + kSavePeriod, now);
      }
      if (reconnection_.Reconnecting()) {
        if (now >= nextAttempt_) {
          Attempt();
        }
      } else if (now >= nextPoll_) {
        Poll();
      }
    }
  } catch (const std::exception& e) {
    // Whatever went wrong, the readings taken so far are saved before the end.
    err_ << "vesk-cli serve: " << e.what() << "\n";
    Stop(e.what());
    return kExitFailure;
  }
  return Stop("Stopped by " + *stop);
}

ServeLoop::Clock::time_point ServeLoop::NextDue() const {
  return std::min(nextSave_, reconnection_.Reconnecting() ? nextAttempt_ : nextPoll_);
}

void ServeLoop::Present(const ThreadRequest& worker) {
  ++polls_;
  const bool succeeded = worker.ErrorMes.empty();
  if (succeeded) {
    // First: the observatory hears of the reading even if printing it fails.
    const IdentityState& id = station_.Identity();
    integrations_.PollArrived({worker.FDataOUT, id.TypeCam, id.Version, id.DisplayRH_int,
                               id.DisplayTempHot, id.SerialNumber});
  }
  // A reading is printed with the date its history record holds.
  const TDateTime when =
      succeeded && !station_.Datas().empty() ? station_.Datas().back().Date : Now();
  out_ << (options_.json ? ServePollJson(polls_, when, worker)
                         : ServePollText(polls_, when, station_.Identity(), worker))
       << std::flush;
  if (reconnection_.PollEnded(succeeded)) {
    nextAttempt_ = Clock::now() + Ticks(options_.retry);
  }
}

void ServeLoop::Poll() {
  // Polls start a period apart; one that took longer delays the next, as in the monitor.
  nextPoll_ += Ticks(options_.period);
  station_.PollDevice(true);
  nextPoll_ = std::max(nextPoll_, Clock::now());
}

void ServeLoop::Attempt() {
  nextAttempt_ = Clock::now() + Ticks(options_.retry);
  const std::optional<DeviceIdentity> version = reconnection_.Attempt();
  if (!version) {
    return;
  }
  try {
    CompleteConnection(station_, *version, [this] { reconnection_.Identified(); });
    reconnection_.Watch(options_.comNum);
    nextPoll_ = Clock::now() + Ticks(options_.period);
  } catch (const std::exception& e) {
    reconnection_.RestoreFailed(e.what());
  }
}

void ServeLoop::PeriodicSave() {
  try {
    station_.SaveHistory();
    Note("Data period recording OK -- each mins ");
  } catch (const std::exception& e) {
    Note(std::string("Error during periodic data recording : \"") + e.what() + "\"");
  }
}

int ServeLoop::Stop(const std::string& why) {
  Note(why);
  // Before the station: the observatory hears "offline" and no server outlives the run.
  integrations_.Stop();
  int code = kExitOk;
  try {
    station_.SaveHistory();
  } catch (const std::exception& e) {
    const std::string text = std::string("The history could not be saved : ") + e.what();
    Note(text);
    err_ << "vesk-cli serve: " << text << "\n";
    code = kExitFailure;
  }
  try {
    station_.Disconnect();
  } catch (...) {
    // The port goes with the process.
  }
  Note("Application closed\r\n");
  return code;
}

}  // namespace vesk::cli
