#include "station/station.h"

#include <chrono>
#include <thread>
#include <utility>

#include "common/datetime.h"
#include "common/event_log.h"
#include "common/exceptions.h"
#include "device/identity_orders.h"
#include "link/com_obj_rs232.h"
#include "link/link_timing.h"
#include "link/order_codes.h"

namespace vesk {

Station::Station(std::filesystem::path chemExec, PostToMain post)
    : ChemExec_(std::move(chemExec)),
      history_(ChemExec_),
      polls_(std::move(post), [this](ThreadRequest& sender) { ApplyPoll(sender); }) {}

Station::~Station() = default;

void Station::SetPollPresenter(PollPresenter presenter) {
  presenter_ = std::move(presenter);
}

TComObjRs232& Station::Link() {
  if (!ComObjRs232) {
    throw Exception("No serial link");
  }
  return *ComObjRs232;
}

void Station::SetThresholdsPresenter(ThresholdsPresenter presenter) {
  thresholdsPresenter_ = std::move(presenter);
}

void Station::BeginConnection() {
  thresholdsReadBack_ = false;
  polls_.ResetCounters();
  lens_.LensCheckCount = 0;
  // Before the connection's own poll, so a lens error there is the one shown in a box and
  // the first timer poll does not show it again.
  lens_.ErrorLens = 0;
}

namespace {

// The port number's device, or the device named in its place.
void Open(TComObjRs232& link, int comNum, const std::string& device) {
  if (device.empty()) {
    link.OpenCom(comNum);
  } else {
    link.OpenDevice(device);
  }
}

}  // namespace

void Station::OpenLink(int comNum) {
  ComObjRs232 = std::make_unique<TComObjRs232>(ChemExec_);
  Open(*ComObjRs232, comNum, device_);
}

namespace {

// The board needs a moment after its port opens before it takes an order.
void VersionExchange(TComObjRs232& link, TArrayByte& reply) {
  std::this_thread::sleep_for(CurrentLinkTiming().settlePause);
  reply.clear();
  link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, reply);
}

}  // namespace

LinkProbe::LinkProbe() = default;
LinkProbe::LinkProbe(LinkProbe&&) noexcept = default;
LinkProbe& LinkProbe::operator=(LinkProbe&&) noexcept = default;
LinkProbe::~LinkProbe() = default;

LinkProbe Station::ProbeLink(const std::filesystem::path& chemExec, int comNum,
                             const std::string& device) {
  LinkProbe probe;
  try {
    auto link = std::make_unique<TComObjRs232>(chemExec);
    Open(*link, comNum, device);
    VersionExchange(*link, probe.versionReply);
    probe.link = std::move(link);
  } catch (const std::exception& e) {
    probe.error = e.what();
  }
  return probe;
}

DeviceIdentity Station::AdoptLink(LinkProbe probe) {
  if (!probe.link) {
    throw Exception(probe.error);
  }
  ComObjRs232 = std::move(probe.link);
  versionReply_ = std::move(probe.versionReply);
  return TakeVersion();
}

DeviceIdentity Station::ReadVersion() {
  VersionExchange(Link(), versionReply_);
  return TakeVersion();
}

DeviceIdentity Station::TakeVersion() {
  const DeviceIdentity identity = IdentifyVersion(versionReply_);
  identity_.Version = identity.Version;
  identity_.DisplayTempHot = false;
  identity_.DisplayRH_int = false;
  identity_.SerialNumber.clear();
  if (!identity.typed) {
    identity_.TypeCam = identity.TypeCam;
  }
  return identity;
}

void Station::ReadModel(DeviceIdentity& identity) {
  IdentifyModel(versionReply_, identity);
  if (!identity.typed) {
    return;
  }
  identity_.TypeCam = identity.TypeCam;
  identity_.DriveEFlens_intf = identity.DriveEFlens_intf;
  identity_.DisplayTempHot = identity.DisplayTempHot;
  identity_.DisplayRH_int = identity.DisplayRH_int;
}

std::string Station::ReadSerialNumber() {
  identity_.SerialNumber = ComObjRs232 ? vesk::ReadSerialNumber(*ComObjRs232) : "xxxxxx";
  return identity_.SerialNumber;
}

void Station::ConnectionDone() {
  Connected_ = true;
}

void Station::ConnectionFailed() {
  Connected_ = false;
  if (ComObjRs232) {
    polls_.WaitForPoll();
    ComObjRs232->CloseCom();
  }
}

void Station::Disconnect() {
  Connected_ = false;
  thresholdsReadBack_ = false;
  if (ComObjRs232) {
    // Never close the port under a running exchange: the poll in progress ends first.
    polls_.WaitForPoll();
    ComObjRs232->CloseCom();
    ComObjRs232.reset();
  }
}

DeviceIdentity Station::Identify(int comNum, bool readSerialNumber) {
  BeginConnection();
  OpenLink(comNum);
  DeviceIdentity identity = ReadVersion();
  ReadModel(identity);
  if (readSerialNumber && identity.GroupBoxV3) {
    ReadSerialNumber();
  }
  return identity;
}

TDataTinParams Station::PollInputs() {
  return {ComObjRs232.get(),        identity_.TypeCam,          identity_.DisplayRH_int,
          identity_.DisplayTempHot, identity_.DriveEFlens_intf, humidity_};
}

bool Station::PollDevice(bool wait, bool correctWindSpeed, const std::string& factorText) {
  return polls_.PollDevice(wait, PollInputs(), correctWindSpeed, factorText);
}

void Station::WaitForPoll() {
  polls_.WaitForPoll();
}

void Station::ApplyPoll(ThreadRequest& sender) {
  lens_.LensCheckCount = static_cast<std::uint16_t>(lens_.LensCheckCount + sender.LensChecks);
  if (sender.ErrorMes.empty()) {
    const TDataOUT& out = sender.FDataOUT;
    heating_.gPowerHeaterLevel = out.PowerHeaterLevel;
    heating_.gHeaterON = out.infosRec.ActiveHeater;
    heating_.gAutoTempRH_Heat = out.AutoTempRH_Heat;
    // The reading is kept before it is shown: a presentation failure does not lose it.
    TinfosRec stamped = out.infosRec;
    stamped.Date = Now();
    Datas_.push_back(stamped);
    AppendToFile();
    if (identity_.DriveEFlens_intf) {
      ApplyLens(out);
    }
  } else {
    ++polls_.NbPoolsFailed;
  }
  if (presenter_) {
    presenter_(sender);
  }
}

void Station::AppendToFile() {
  // On the disk before the next poll starts: a crash or a power cut loses no reading.
  try {
    history_.AppendNewRecords(Datas_);
    appendFailing_ = false;
  } catch (const std::exception& e) {
    if (!appendFailing_) {
      WriteLog(std::string("History append failed, the next save writes the file -> ") + e.what());
    }
    appendFailing_ = true;
  }
}

void Station::LoadHistoryAtStart(const LoadProgress& progress) {
  history_.LoadHistoryAtStart(Datas_, progress);
  historyLoaded_ = true;
}

void Station::SaveHistory(const LoadProgress& progress) {
  if (!historyLoaded_) {
    // The start stopped before the load: the file on disk holds what memory lacks.
    TTinfosRec newer = std::move(Datas_);
    Datas_.clear();
    try {
      LoadHistoryAtStart(progress);
    } catch (...) {
      // Saving now would replace the file's records with the newer ones alone. (A damaged
      // file does not come here: the load sets it aside and starts from its copy.)
      Datas_ = std::move(newer);
      historyLoaded_ = false;
      std::string why = "unknown failure";
      try {
        throw;
      } catch (const std::exception& e) {
        why = e.what();
      } catch (...) {
      }
      throw EInOutError("The history file could not be loaded, it is not saved over -> " + why);
    }
    Datas_.insert(Datas_.end(), newer.begin(), newer.end());
  }
  history_.SaveHistory(Datas_, kHistoryFileName);
}

}  // namespace vesk
