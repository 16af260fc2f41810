#include "indi/vesk_weather.h"

#include <libindi/indilogger.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>

#include "acquisition/model_type.h"
#include "acquisition/sensor_conversions.h"
#include "acquisition/thread_request.h"
#include "common/event_log.h"
#include "common/number_text.h"
#include "device/threshold_values.h"
#include "indi/driver_folder.h"
#include "indi/session_serial.h"
#include "integrations/observing_sensors.h"
#include "plots/dew_point.h"
#include "settings/settings_file.h"
#include "station/station_settings.h"

namespace vesk::indi {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kHeatingTab[] = "Heating";
constexpr double kDefaultPeriod = 10;  // seconds, as the monitor polls

Clock::duration Seconds(double seconds) {
  return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// The element named `element` of a client's new values, if it sent it.
const double* ValueOf(const char* element, double values[], char* names[], int n) {
  for (int i = 0; i < n; ++i) {
    if (std::strcmp(names[i], element) == 0) {
      return &values[i];
    }
  }
  return nullptr;
}

}  // namespace

VeskWeather::VeskWeather() {
  setVersion(1, 0);
  // The connection is SessionSerial: INDI's port property, the session's own open.
  setWeatherConnection(CONNECTION_NONE);
}

VeskWeather::~VeskWeather() {
  CloseSession();
}

bool VeskWeather::initProperties() {
  INDI::Weather::initProperties();

  UpdatePeriodNP[0].setValue(kDefaultPeriod);

  addParameter("WEATHER_TEMPERATURE", "Temperature (C)", -30, 40, 15);
  addParameter("WEATHER_HUMIDITY", "Humidity %", 0, limits_.UnsafeHumidity, 5);
  addParameter("WEATHER_DEWPOINT", "Dew point (C)", -40, 30, 15);

  // The status lights are the safety rule's conditions, judged by the rule itself (the
  // SafetyMonitor's code), not by the parameters' ranges: their names are no parameter's,
  // so the base class leaves them as set here. The base class owns the array.
  critialParametersL = static_cast<ILight*>(std::malloc(3 * sizeof(ILight)));
  IUFillLight(&critialParametersL[0], "BOARD_LINK", "Board answering", IPS_IDLE);
  IUFillLight(&critialParametersL[1], "HUMIDITY_LIMIT", "Humidity below limit", IPS_IDLE);
  IUFillLight(&critialParametersL[2], "DEW_MARGIN", "Clear of dew", IPS_IDLE);
  IUFillLightVector(&critialParametersLP, critialParametersL, 3, getDeviceName(), "WEATHER_STATUS",
                    "Status", MAIN_CONTROL_TAB, IPS_IDLE);

  IUFillText(&FolderT[0], "PATH", "Folder", DefaultDriverFolder().string().c_str());
  IUFillTextVector(&FolderTP, FolderT, 1, getDeviceName(), "VESK_FOLDER", "Program folder",
                   OPTIONS_TAB, IP_RW, 60, IPS_IDLE);

  IUFillSwitch(&HeaterS[0], "ON", "On", ISS_OFF);
  IUFillSwitch(&HeaterS[1], "OFF", "Off", ISS_ON);
  IUFillSwitchVector(&HeaterSP, HeaterS, 2, getDeviceName(), "VESK_HEATER", "Heater", kHeatingTab,
                     IP_RW, ISR_1OFMANY, 60, IPS_IDLE);
  IUFillSwitch(&AutoHeatS[0], "ON", "On", ISS_OFF);
  IUFillSwitch(&AutoHeatS[1], "OFF", "Off", ISS_ON);
  IUFillSwitchVector(&AutoHeatSP, AutoHeatS, 2, getDeviceName(), "VESK_AUTO_HEATING",
                     "Automatic heating", kHeatingTab, IP_RW, ISR_1OFMANY, 60, IPS_IDLE);
  IUFillNumber(&HeatingN[0], "TEMP_THRESHOLD", "Temperature threshold (C)", "%.1f",
               kTemperatureThresholdRange.minimum, kTemperatureThresholdRange.maximum, 0.1, 0);
  IUFillNumber(&HeatingN[1], "RH_THRESHOLD", "Humidity threshold (%)", "%.1f",
               kHumidityThresholdRange.minimum, kHumidityThresholdRange.maximum, 0.1, 0);
  IUFillNumber(&HeatingN[2], "POWER", "Heater power (%)", "%.0f", kPowerLevelRange.minimum,
               kPowerLevelRange.maximum, 1, kPowerLevelRange.maximum);
  IUFillNumberVector(&HeatingNP, HeatingN, 3, getDeviceName(), "VESK_HEATING", "Heating setup",
                     kHeatingTab, IP_RW, 60, IPS_IDLE);

  serial_ = new SessionSerial(
      this, [this](const std::string& path) { return OpenSession(path); },
      [this] { CloseSession(); });
  registerConnection(serial_);
  addAuxControls();
  return true;
}

void VeskWeather::ISGetProperties(const char* dev) {
  INDI::Weather::ISGetProperties(dev);
  defineProperty(&FolderTP);
  loadConfig(true, FolderTP.name);
}

bool VeskWeather::updateProperties() {
  INDI::Weather::updateProperties();
  if (isConnected()) {
    defineProperty(&HeaterSP);
    defineProperty(&AutoHeatSP);
    defineProperty(&HeatingNP);
    PublishHeating(true);
  } else {
    deleteProperty(HeaterSP.name);
    deleteProperty(AutoHeatSP.name);
    deleteProperty(HeatingNP.name);
  }
  return true;
}

bool VeskWeather::saveConfigItems(FILE* fp) {
  INDI::Weather::saveConfigItems(fp);
  IUSaveConfigText(fp, &FolderTP);
  return true;
}

bool VeskWeather::ISNewText(const char* dev, const char* name, char* texts[], char* names[],
                            int n) {
  if (dev != nullptr && std::strcmp(dev, getDeviceName()) == 0 &&
      std::strcmp(name, FolderTP.name) == 0) {
    // Taken at the next connection: the running session keeps its folder and its lock.
    IUUpdateText(&FolderTP, texts, names, n);
    FolderTP.s = IPS_OK;
    IDSetText(&FolderTP,
              isConnected() ? "The folder is used from the next connection on" : nullptr);
    saveConfig(true, FolderTP.name);
    return true;
  }
  return INDI::Weather::ISNewText(dev, name, texts, names, n);
}

bool VeskWeather::ISNewSwitch(const char* dev, const char* name, ISState* states, char* names[],
                              int n) {
  if (dev != nullptr && std::strcmp(dev, getDeviceName()) == 0 && session_) {
    ISwitchVectorProperty* property = nullptr;
    if (std::strcmp(name, HeaterSP.name) == 0) {
      property = &HeaterSP;
    } else if (std::strcmp(name, AutoHeatSP.name) == 0) {
      property = &AutoHeatSP;
    }
    if (property != nullptr) {
      IUUpdateSwitch(property, states, names, n);
      const bool on = property->sp[0].s == ISS_ON;
      Station& station = session_->station();
      const bool done = property == &HeaterSP
                            ? RunOrder("Heater", [&] { station.EnableHeater(on ? 1 : 0); })
                            : RunOrder("Automatic heating", [&] { station.SetAutoHeating(on); });
      property->s = done ? IPS_OK : IPS_ALERT;
      PublishHeating(false);
      return true;
    }
  }
  return INDI::Weather::ISNewSwitch(dev, name, states, names, n);
}

bool VeskWeather::ISNewNumber(const char* dev, const char* name, double values[], char* names[],
                              int n) {
  if (dev != nullptr && std::strcmp(dev, getDeviceName()) == 0) {
    if (std::strcmp(name, HeatingNP.name) == 0 && session_) {
      return SetHeatingNumbers(values, names, n);
    }
    if (std::strcmp(name, UpdatePeriodNP.getName()) == 0) {
      const bool taken = INDI::Weather::ISNewNumber(dev, name, values, names, n);
      if (session_) {
        session_->SetPollPeriod(Period());
      }
      return taken;
    }
  }
  return INDI::Weather::ISNewNumber(dev, name, values, names, n);
}

bool VeskWeather::SetHeatingNumbers(double values[], char* names[], int n) {
  const HeatingState held = session_->station().Heating();
  const HumidityConstants humidity = session_->station().Humidity();
  const double* celsius = ValueOf(HeatingN[0].name, values, names, n);
  const double* percent = ValueOf(HeatingN[1].name, values, names, n);
  const double* power = ValueOf(HeatingN[2].name, values, names, n);
  const struct {
    const double* value;
    const char* what;
    SettingRange range;
    bool whole;
  } checks[] = {{celsius, "Temperature threshold", kTemperatureThresholdRange, false},
                {percent, "Humidity threshold", kHumidityThresholdRange, false},
                {power, "Heater power", kPowerLevelRange, true}};
  for (const auto& c : checks) {
    if (c.value != nullptr && !InSettingRange(*c.value, c.range, c.whole)) {
      // Nothing is written: the board keeps its setup, the client sees it again.
      HeatingNP.s = IPS_ALERT;
      PublishHeating(true);
      LOG_ERROR(SettingRefusal(c.what, FloatToText(*c.value), c.range, c.whole).c_str());
      return true;
    }
  }
  const HeatingSetup setup{
      {celsius ? TemperatureThresholdWord(*celsius) : held.gSeuil_Temp_asWord,
       percent ? HumidityThresholdWord(*percent, humidity) : held.gSeuil_RH_asWord},
      held.gAutoTempRH_Heat,
      power ? PowerLevelByte(static_cast<long long>(*power)) : held.gPowerHeaterLevel};
  const bool done = RunOrder("Heating setup", [&] { session_->station().UpdateSetup(setup); });
  HeatingNP.s = done ? IPS_OK : IPS_ALERT;
  PublishHeating(true);
  return true;
}

bool VeskWeather::RunOrder(const char* what, const std::function<void()>& order) {
  if (session_->Reconnecting()) {
    LOGF_ERROR("%s: the board does not answer; the link is being looked for", what);
    return false;
  }
  try {
    order();
  } catch (const std::exception& e) {
    LOGF_ERROR("%s: %s", what, e.what());
    return false;
  }
  // The board's new state, as the monitor shows it after an order.
  session_->Poll(true);
  return true;
}

bool VeskWeather::OpenSession(const std::string& path) {
  CloseSession();
  const std::filesystem::path folder = FolderT[0].text;
  try {
    std::filesystem::create_directories(folder);
    lock_ = std::make_unique<FolderLock>(folder);
    if (!lock_->held()) {
      LOG_ERROR(lock_->refusal().c_str());
      lock_.reset();
      return false;
    }
    InitLog(folder);
    StationSettings settings = ReadStationSettings(TSettingsFile(folder));
    settings.device = path;
    limits_ = {settings.alpaca.UnsafeHumidity, settings.alpaca.DewMargin};
    // Every poll and attempt waits on INDI's thread, as serve's do on its own: nothing is
    // posted.
    session_ = std::make_unique<StationSession>(
        folder, settings, [](std::function<void()> call) { call(); },
        static_cast<StationObserver&>(*this));
    StationSession::LogOpened();
    session_->LoadHistory();
    session_->SetPollPeriod(Period());
    session_->StartIntegrations();
    if (!session_->Connect(settings.comNum)) {
      session_->StopIntegrations();
      StationSession::LogClosed();
      session_.reset();
      lock_.reset();
      return false;
    }
  } catch (const std::exception& e) {
    LOGF_ERROR("%s", e.what());
    CloseSession();
    return false;
  }
  if (HasWeatherModule(session_->station().Identity().TypeCam) && !weatherModule_) {
    // Defined with the others once the connection is made.
    addParameter("WEATHER_PRESSURE", "Pressure (hPa)", 800, 1100, 15);
    addParameter("WEATHER_WIND_SPEED", "Wind speed (km/h)", 0, 40, 15);
    addParameter("WEATHER_WIND_DIRECTION", "Wind direction", 0, 360, 0);
    weatherModule_ = true;
  }
  nextSave_ = Clock::now() + Seconds(session_->Settings().savePeriod);
  LOGF_INFO("Connected to the board on %s; program folder %s", path.c_str(),
            folder.string().c_str());
  return true;
}

void VeskWeather::CloseSession() {
  if (session_) {
    try {
      std::string failure;
      if (!session_->Shutdown(&failure)) {
        LOG_ERROR(failure.c_str());
      }
      StationSession::LogClosed();
    } catch (const std::exception& e) {
      LOGF_ERROR("%s", e.what());
    }
  }
  session_.reset();
  lock_.reset();
  latest_.reset();
}

std::chrono::milliseconds VeskWeather::Period() const {
  return std::chrono::ceil<std::chrono::milliseconds>(
      std::chrono::duration<double>(UpdatePeriodNP[0].getValue()));
}

IPState VeskWeather::updateWeather() {
  if (!session_) {
    return IPS_ALERT;
  }
  try {
    DriveSession();
  } catch (const std::exception& e) {
    LOGF_ERROR("%s", e.what());
  }
  PublishReading();
  PublishSafety();
  // Always OK, so the next update comes after one period: a lost board shows in the
  // status lights, which the observatory acts on.
  return IPS_OK;
}

void VeskWeather::DriveSession() {
  const auto now = Clock::now();
  if (session_->Reconnecting()) {
    if (now >= nextAttempt_) {
      nextAttempt_ = now + Seconds(session_->Settings().reconnectPeriod);
      session_->ReconnectTick();
    }
  } else {
    session_->Poll(true);
  }
  if (now >= nextSave_) {
    session_->PeriodicSave();
    nextSave_ = now + Seconds(session_->Settings().savePeriod);
  }
}

void VeskWeather::PollApplied(const ThreadRequest& worker) {
  if (!worker.ErrorMes.empty()) {
    return;
  }
  const IdentityState& id = session_->station().Identity();
  latest_ = StampedReading{{worker.FDataOUT, id.TypeCam, id.Version, id.DisplayRH_int,
                            id.DisplayTempHot, id.SerialNumber},
                           Clock::now()};
  PublishHeating(false);
}

void VeskWeather::LinkLost() {
  nextAttempt_ = Clock::now() + Seconds(session_->Settings().reconnectPeriod);
  LOG_WARN("The board does not answer: the link is being looked for");
}

void VeskWeather::ConnectFailed(const std::string& text) {
  LOG_ERROR(text.c_str());
}

void VeskWeather::PublishReading() {
  if (!latest_) {
    return;
  }
  const TinfosRec& rec = latest_->reading.data.infosRec;
  setParameterValue("WEATHER_TEMPERATURE", rec.TempExt);
  setParameterValue("WEATHER_HUMIDITY", rec.RHExt);
  setParameterValue("WEATHER_DEWPOINT", DewPoint(rec.TempExt, rec.RHExt));
  if (weatherModule_ && HasWeatherModule(latest_->reading.TypeCam)) {
    if (const auto hpa = SensorValue(ObservingSensor::Pressure, rec)) {
      setParameterValue("WEATHER_PRESSURE", *hpa);
    }
    setParameterValue("WEATHER_WIND_SPEED", rec.WindSpeed);
    setParameterValue("WEATHER_WIND_DIRECTION", rec.Windir);
  }
}

void VeskWeather::PublishSafety() {
  const SafetyVerdict verdict = JudgeSafety(latest_, Clock::now(), Period(), limits_);
  const auto light = [](bool good) { return good ? IPS_OK : IPS_ALERT; };
  critialParametersL[0].s = light(verdict.current);
  critialParametersL[1].s = light(verdict.dry);
  critialParametersL[2].s = light(verdict.clearOfDew);
  const bool overridden = OverrideSP[0].getState() == ISS_ON;
  critialParametersLP.s = overridden ? IPS_OK : light(verdict.Safe());
  IDSetLight(&critialParametersLP, nullptr);
}

void VeskWeather::PublishHeating(bool thresholdsToo) {
  if (!session_ || !isConnected()) {
    return;
  }
  const HeatingState& heating = session_->station().Heating();
  HeaterS[0].s = heating.gHeaterON ? ISS_ON : ISS_OFF;
  HeaterS[1].s = heating.gHeaterON ? ISS_OFF : ISS_ON;
  AutoHeatS[0].s = heating.gAutoTempRH_Heat ? ISS_ON : ISS_OFF;
  AutoHeatS[1].s = heating.gAutoTempRH_Heat ? ISS_OFF : ISS_ON;
  IDSetSwitch(&HeaterSP, nullptr);
  IDSetSwitch(&AutoHeatSP, nullptr);
  if (thresholdsToo) {
    HeatingN[0].value = CountToCelsius(heating.gSeuil_Temp_asWord);
    HeatingN[1].value = CountToHumidity(heating.gSeuil_RH_asWord, session_->station().Humidity());
    HeatingN[2].value = heating.gPowerHeaterLevel;
    IDSetNumber(&HeatingNP, nullptr);
  }
}

}  // namespace vesk::indi
