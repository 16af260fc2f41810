#pragma once

#include <libindi/indiweather.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "common/folder_lock.h"
#include "integrations/latest_reading.h"
#include "integrations/safety_rule.h"
#include "station/station_observer.h"
#include "station/station_session.h"

namespace vesk::indi {

class SessionSerial;

// indi_vesk_weather: the station session as an INDI weather device. INDI's serial connection
// names the port; connecting takes the program folder and runs the session's start and
// connection; every WEATHER_UPDATE period polls (or, while the link is lost, looks for the
// board), publishes the readings and judges them by the observatory's safety rule; the
// heater, automatic heating and the heating setup are INDI controls. Everything runs on
// INDI's event loop, so no exception may leave a handler.
class VeskWeather : public INDI::Weather, private StationObserver {
 public:
  VeskWeather();
  ~VeskWeather() override;

  const char* getDefaultName() override { return "Vesk Weather"; }
  bool initProperties() override;
  bool updateProperties() override;
  void ISGetProperties(const char* dev) override;
  bool ISNewText(const char* dev, const char* name, char* texts[], char* names[], int n) override;
  bool ISNewSwitch(const char* dev, const char* name, ISState* states, char* names[],
                   int n) override;
  bool ISNewNumber(const char* dev, const char* name, double values[], char* names[],
                   int n) override;

 protected:
  IPState updateWeather() override;
  bool saveConfigItems(FILE* fp) override;

 private:
  // The connection's two halves, run by SessionSerial.
  bool OpenSession(const std::string& path);
  void CloseSession();

  // What the session tells.
  void PollApplied(const ThreadRequest& worker) override;
  void LinkLost() override;
  void ConnectFailed(const std::string& text) override;

  // One period: a poll, or an attempt on a lost link; the periodic save when due.
  void DriveSession();
  void PublishReading();
  void PublishSafety();
  void PublishHeating(bool thresholdsToo);
  // An order to the board from a control, then the poll that shows its effect; the
  // failure told to the client.
  bool RunOrder(const char* what, const std::function<void()>& order);
  bool SetHeatingNumbers(double values[], char* names[], int n);
  std::chrono::milliseconds Period() const;

  SessionSerial* serial_ = nullptr;  // owned by the device's connection list
  std::unique_ptr<FolderLock> lock_;
  std::unique_ptr<StationSession> session_;
  std::optional<StampedReading> latest_;
  SafetyLimits limits_;
  bool weatherModule_ = false;  // its parameters are added once, by the first such board
  std::chrono::steady_clock::time_point nextAttempt_;
  std::chrono::steady_clock::time_point nextSave_;

  ITextVectorProperty FolderTP{};
  IText FolderT[1]{};
  ISwitchVectorProperty HeaterSP{};
  ISwitch HeaterS[2]{};
  ISwitchVectorProperty AutoHeatSP{};
  ISwitch AutoHeatS[2]{};
  INumberVectorProperty HeatingNP{};
  INumber HeatingN[3]{};
};

}  // namespace vesk::indi
