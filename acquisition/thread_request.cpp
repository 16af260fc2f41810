#include "acquisition/thread_request.h"

#include <chrono>
#include <exception>
#include <thread>

#include "acquisition/model_type.h"
#include "common/event_log.h"
#include "common/number_text.h"
#include "common/reply_reader.h"
#include "link/com_obj_rs232.h"
#include "link/device_identity.h"
#include "link/order_codes.h"

namespace vesk {

namespace {

const char* YesNo(bool value) {
  return value ? "Yes" : "No";
}

}  // namespace

ThreadRequest::ThreadRequest(const TDataTinParams& in, const WindCorrection& wind)
    : FDataIn(in),
      CorrectWindSpeed(wind.CorrectWindSpeed),
      FactCorrectionWindSpeed(wind.FactCorrectionWindSpeed) {}

void ThreadRequest::Execute() {
  try {
    Poll();
    ErrorMes.clear();
  } catch (const std::exception& e) {
    ErrorMes = FormatText("Thread get data call failed -> %s", e.what());
    try {
      WriteLog(ErrorMes);
    } catch (...) {
      // The failure text is still handed over in ErrorMes.
    }
  }
}

void ThreadRequest::Poll() {
  if (HasWeatherModule(FDataIn.TypeCam)) {
    DecodeDataExt(Exchange(REQ_GET_DATAEXT), FDataIn.TypeCam,
                  {CorrectWindSpeed, FactCorrectionWindSpeed}, FDataIn.humidity, FDataOUT);
    // The weather module needs a pause before the board takes the next order.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  DecodeVoltage(Exchange(REQ_GET_VOLTAGE), FDataIn, FDataOUT);
  if (FDataIn.DriveEFlens) {
    ReadLens();
  }
  const TinfosRec& rec = FDataOUT.infosRec;
  WriteLog(
      FormatText("GetData-> %1.1f°C  %1.0f%%  Active heating: %s    AutoHeating: %s    Power: %d%%",
                 rec.TempExt, rec.RHExt, YesNo(rec.ActiveHeater), YesNo(FDataOUT.AutoTempRH_Heat),
                 FDataOUT.PowerHeaterLevel));
}

TArrayByte ThreadRequest::Exchange(std::uint8_t order) {
  if (FDataIn.ComObjRs232 == nullptr) {
    throw Exception("No serial link");
  }
  TArrayByte reply;
  FDataIn.ComObjRs232->SendOrder_ReceiveFeedBack({order}, reply);
  return reply;
}

void ThreadRequest::ReadLens() {
  const TArrayByte versionReply = Exchange(REQ_ORDER_VERSION);
  const ReplyReader version(versionReply);
  const double firmware = FirmwareVersion(version.byte(0), version.byte(1));

  const TArrayByte infos = Exchange(GET_INFOS_EF_CANON);
  DecodeLensPresence(infos, FDataOUT);
  ++LensChecks;
  // The lens bytes, identifier and name are taken whether or not the marker came.
  DecodeLensBytes(infos, firmware, FDataOUT);
  if (firmware < 2.2) {
    return;
  }
  if (FDataOUT.lensID == 1) {
    // The board refused the lens order.
    FDataOUT.LensName = "Commande invalide";
    return;
  }
  FDataOUT.LensName = DecodeLensName(Exchange(GET_NAME_EF_CANON));
}

}  // namespace vesk
