#include "station/station_session.h"

#include <exception>
#include <utility>

#include "acquisition/thread_request.h"
#include "common/event_log.h"
#include "common/exceptions.h"
#include "station/session_integrations.h"

namespace vesk {

StationSession::StationSession(std::filesystem::path folder, StationSettings settings,
                               Station::PostToMain post, StationObserver& observer)
    : StationSession(std::move(folder), std::move(settings), std::move(post), observer, Options{}) {
}

StationSession::StationSession(std::filesystem::path folder, StationSettings settings,
                               Station::PostToMain post, StationObserver& observer, Options options)
    : settings_(std::move(settings)),
      observer_(observer),
      options_(options),
      post_(post),
      station_(std::move(folder), std::move(post)),
      reconnection_(station_) {
  station_.SetPollPresenter([this](const ThreadRequest& sender) { Present(sender); });
  ApplySettings(settings_);
  SetLogTroubleListener(
      [this](const std::string& text, bool failing) { observer_.LogTrouble(text, failing); });
}

StationSession::~StationSession() {
  SetLogTroubleListener(nullptr);
  DropAttempt();
  // The integrations' threads end before the station they read from.
  StopIntegrations();
  integrations_.reset();
  // The poll in progress ends before the session it reports to.
  try {
    station_.WaitForPoll();
  } catch (...) {
  }
  station_.SetPollPresenter({});
}

void StationSession::LogOpened() {
  WriteLog("Application opened");
}

void StationSession::LogClosed() {
  WriteLog("Application closed\r\n");
}

void StationSession::ApplySettings(const StationSettings& settings) {
  settings_ = settings;
  station_.SetHumidity(settings_.humidity);
  station_.SetDevice(settings_.device);
  reconnection_.SetEnabled(settings_.autoReconnect);
}

void StationSession::LoadHistory(const LoadProgress& progress) {
  station_.LoadHistoryAtStart(progress);
}

void StationSession::StartIntegrations() {
  if (integrations_) {
    return;
  }
  integrations_ = SessionIntegrations::Make(
      settings_, [](const std::string& line) { WriteLog(line); },
      [this](const std::string& text) { observer_.IntegrationsStatus(text); }, station_, post_);
  if (integrations_) {
    integrations_->SetPollPeriod(pollPeriod_);
    integrations_->Start();
  }
}

void StationSession::RestartIntegrations(const TAlpacaSettings& alpaca, const TMqttSettings& mqtt) {
  // The old servers end (the observatory hears "offline") before the new ones take the port.
  StopIntegrations();
  integrations_.reset();
  settings_.alpaca = alpaca;
  settings_.mqtt = mqtt;
  StartIntegrations();
}

void StationSession::SetDevice(const std::string& device) {
  settings_.device = device;
  station_.SetDevice(device);
}

bool StationSession::IntegrationsEnabled() const {
  return integrations_ && integrations_->Enabled();
}

std::string StationSession::IntegrationsStatusText() const {
  return integrations_ ? integrations_->StatusText() : std::string();
}

void StationSession::StopIntegrations() {
  if (integrations_) {
    integrations_->Stop();
  }
}

void StationSession::SetPollPeriod(std::chrono::milliseconds period) {
  pollPeriod_ = period;
  if (integrations_) {
    integrations_->SetPollPeriod(period);
  }
}

bool StationSession::Connect(int comNum) {
  DropAttempt();
  station_.BeginConnection();
  try {
    station_.OpenLink(comNum);
    reconnection_.Stop();
    CompleteConnection(station_.ReadVersion(), false);
    reconnection_.Watch(comNum);
    observer_.Connected(true);
    return true;
  } catch (const std::exception& e) {
    const std::string text = std::string(kDataLinkFatal) + e.what();
    WriteLog(text);
    station_.ConnectionFailed();
    observer_.ConnectFailed(text);
    return false;
  }
}

bool StationSession::CompleteConnection(DeviceIdentity identity, bool restoring) {
  observer_.VersionRead(identity, restoring);
  WriteLog("Startup -> " + identity.VersionText());
  if (identity.typed) {
    WriteLog("Firmware > 2.0");
    station_.ReadModel(identity);
    WriteLog("Camera Type : " + std::to_string(identity.TypeCam));
    observer_.ModelRead(identity);
    if (identity.GroupBoxV3) {
      observer_.SerialNumberRead(station_.ReadSerialNumber());
    }
    WriteLog("Setup Done");
  }
  const bool newConnection = !restoring || reconnection_.Identified();
  observer_.Identified(newConnection, restoring);
  try {
    station_.GetCurrentSetup();
    Poll(true);
  } catch (const std::exception& e) {
    throw Exception(std::string("Error : voltage read error on startup -> ") + e.what());
  }
  station_.ConnectionDone();
  return newConnection;
}

void StationSession::Disconnect() {
  DropAttempt();
  reconnection_.Stop();
  station_.Disconnect();
  if (integrations_) {
    integrations_->LinkClosed();
  }
}

bool StationSession::Poll(bool wait, bool correctWindSpeed, const std::string& factorText) {
  return station_.PollDevice(wait, correctWindSpeed, factorText);
}

void StationSession::Present(const ThreadRequest& sender) {
  const bool succeeded = sender.ErrorMes.empty();
  // First: a presentation that fails must not keep the reading from the observatory.
  if (integrations_) {
    integrations_->PollEnded(succeeded ? &sender.FDataOUT : nullptr);
  }
  try {
    observer_.PollApplied(sender);
  } catch (const std::exception& e) {
    // The reading is kept and on the disk; the link's state still counts.
    WriteLog(std::string("Exception, Error -> ") + e.what());
  }
  if (reconnection_.PollEnded(succeeded)) {
    if (integrations_) {
      integrations_->LinkClosed();
    }
    observer_.LinkLost();
  }
}

void StationSession::ReconnectTick() {
  if (!reconnection_.Lost() || attemptInFlight_) {
    return;
  }
  if (!options_.attemptsOffThread) {
    Restore(reconnection_.Attempt());
    return;
  }
  DropAttempt();
  attemptInFlight_ = true;
  std::weak_ptr<bool> alive = alive_;
  attempt_ = std::jthread([this, alive, folder = station_.ChemExec(),
                           comNum = reconnection_.ComNum(), device = station_.Device()] {
    LinkProbe probe = Station::ProbeLink(folder, comNum, device);
    {
      std::lock_guard lock(probeMutex_);
      probe_ = std::move(probe);
    }
    post_([this, alive] {
      if (alive.lock()) {
        TakeProbe();
      }
    });
  });
}

void StationSession::TakeProbe() {
  std::optional<LinkProbe> probe;
  {
    std::lock_guard lock(probeMutex_);
    probe.swap(probe_);
  }
  attemptInFlight_ = false;
  if (probe) {
    AttemptEnded(std::move(*probe));
  }
}

void StationSession::DropAttempt() {
  if (attempt_.joinable()) {
    attempt_.join();
  }
  std::lock_guard lock(probeMutex_);
  probe_.reset();
  attemptInFlight_ = false;
}

void StationSession::AttemptEnded(LinkProbe probe) {
  Restore(reconnection_.AttemptEnded(std::move(probe)));
}

void StationSession::Restore(const std::optional<DeviceIdentity>& version) {
  if (!version) {
    return;
  }
  bool newConnection = false;
  try {
    newConnection = CompleteConnection(*version, true);
  } catch (const std::exception& e) {
    reconnection_.RestoreFailed(e.what());
    return;
  }
  reconnection_.Watch(reconnection_.ComNum());
  observer_.Connected(newConnection);
}

void StationSession::SaveHistory(const LoadProgress& progress) {
  station_.SaveHistory(progress);
}

bool StationSession::PeriodicSave(const std::function<void()>& alsoSave) {
  bool succeeded = true;
  try {
    SaveHistory();
    if (alsoSave) {
      alsoSave();
    }
    WriteLog("Data period recording OK -- each mins ");
  } catch (const std::exception& e) {
    WriteLog(std::string("Error during periodic data recording : \"") + e.what() + "\"");
    succeeded = false;
  }
  observer_.Saved(succeeded);
  return succeeded;
}

bool StationSession::SaveLogged(std::string* failure) {
  try {
    SaveHistory();
    return true;
  } catch (const std::exception& e) {
    const std::string text = std::string("The history could not be saved : ") + e.what();
    WriteLog(text);
    if (failure != nullptr) {
      *failure = text;
    }
    return false;
  }
}

void StationSession::SaveAtSessionEnd() {
  WriteLog("Windows is asking applications to close !");
  // A save that fails (a full disk) must not keep the session from ending.
  try {
    SaveHistory();
    WriteLog("Data saved !");
  } catch (const std::exception& e) {
    WriteLog(std::string("Exception, Error -> ") + e.what());
  }
}

bool StationSession::PowerNotified(int code) {
  WriteLog("WMPowerBroadcast, Message Wparam-> " + std::to_string(code));
  switch (code) {
    case 0:
      WriteLog("PBT_APMQUERYSUSPEND");
      return false;
    case 4:
      WriteLog("PBT_APMSUSPEND");
      SaveHistory();
      WriteLog("Hibernation request -> save DATA !");
      WriteLog("");
      return false;
    case 7:
      WriteLog("Restart from hibernation");
      SaveHistory();
      return true;
    case 10:
      WriteLog("PBT_APMPOWERSTATUSCHANGE");
      return false;
    case 18:
      WriteLog("PBT_APMRESUMEAUTOMATIC");
      return false;
    case 32787:
      WriteLog("PBT_POWERSETTINGCHANGE");
      return false;
    default:
      return false;
  }
}

void StationSession::ResumedFromHibernation() {
  WriteLog("Restart from hibernation processus is completed...");
}

bool StationSession::Shutdown(std::string* failure) {
  if (shutDown_) {
    return true;
  }
  shutDown_ = true;
  DropAttempt();
  reconnection_.Stop();
  // A poll still running ends and is applied first, so its reading is saved with the rest
  // and the port never closes under it.
  try {
    station_.WaitForPoll();
  } catch (...) {
    // Its presentation failed; the history and the link still matter.
  }
  // Before the station: the observatory hears "offline" and no server outlives the run.
  StopIntegrations();
  const bool saved = SaveLogged(failure);
  try {
    station_.Disconnect();
  } catch (...) {
    // The port goes with the process.
  }
  return saved;
}

}  // namespace vesk
