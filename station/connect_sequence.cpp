#include "station/connect_sequence.h"

#include <exception>
#include <string>

#include "common/event_log.h"
#include "common/exceptions.h"
#include "station/station.h"

namespace vesk {

void ConnectStation(Station& station, int comNum) {
  station.BeginConnection();
  try {
    station.OpenLink(comNum);
    CompleteConnection(station, station.ReadVersion());
  } catch (...) {
    station.ConnectionFailed();
    throw;
  }
}

void CompleteConnection(Station& station, DeviceIdentity identity,
                        const std::function<void()>& identified) {
  WriteLog("Startup -> " + identity.VersionText());
  if (identity.typed) {
    WriteLog("Firmware > 2.0");
    station.ReadModel(identity);
    WriteLog("Camera Type : " + std::to_string(identity.TypeCam));
    if (identity.GroupBoxV3) {
      station.ReadSerialNumber();
    }
    WriteLog("Setup Done");
  }
  if (identified) {
    identified();
  }
  try {
    station.GetCurrentSetup();
    station.PollDevice(true);
  } catch (const std::exception& e) {
    throw Exception(std::string("Error : voltage read error on startup -> ") + e.what());
  }
  station.ConnectionDone();
}

}  // namespace vesk
