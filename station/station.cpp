#include "station/station.h"

#include <chrono>
#include <thread>
#include <utility>

#include "common/datetime.h"
#include "common/exceptions.h"
#include "device/identity_orders.h"
#include "link/com_obj_rs232.h"
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

void Station::OpenLink(int comNum) {
  ComObjRs232 = std::make_unique<TComObjRs232>(ChemExec_);
  if (device_.empty()) {
    ComObjRs232->OpenCom(comNum);
  } else {
    ComObjRs232->OpenDevice(device_);
  }
}

DeviceIdentity Station::ReadVersion() {
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  versionReply_.clear();
  Link().SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, versionReply_);
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
      Datas_.clear();
      historyLoaded_ = true;
    }
    Datas_.insert(Datas_.end(), newer.begin(), newer.end());
  }
  history_.SaveHistory(Datas_, kHistoryFileName);
}

}  // namespace vesk
