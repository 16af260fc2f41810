#include "station/session_integrations.h"

#include <mutex>
#include <optional>

#include "acquisition/model_type.h"
#include "acquisition/readings_text.h"
#include "acquisition/sensor_conversions.h"
#include "common/exceptions.h"
#include "common/number_text.h"
#include "device/heating_orders.h"
#include "device/threshold_values.h"
#include "integrations/integrations.h"
#include "link/device_identity.h"
#include "plots/series_values.h"
#include "web/web_server.h"

namespace vesk {
namespace {

// The station as the web page reads it, on the session's thread.
class StationForWeb final : public WebStation {
 public:
  StationForWeb(Station& station, Station::PostToMain post)
      : station_(station), post_(std::move(post)) {}

  void Post(std::function<void()> job) override { post_(std::move(job)); }
  const TTinfosRec& History() const override { return station_.Datas(); }
  TSeriesFlags Flags() const override {
    const IdentityState& id = station_.Identity();
    return {id.DisplayRH_int, id.DisplayTempHot, HasWeatherModule(id.TypeCam), true};
  }
  std::string Operate(const WebOperation& operation) override {
    using Kind = WebOperation::Kind;
    if (!station_.Connected()) {
      throw Exception("The board is not connected");
    }
    switch (operation.kind) {
      case Kind::Heater:
        station_.EnableHeater(operation.on ? 1 : 0);
        break;
      case Kind::AutoHeat:
        station_.SetAutoHeating(operation.on);
        break;
      case Kind::Thresholds: {
        HeatingSetup setup;
        setup.thresholds.gSeuil_Temp_asWord = TemperatureThresholdWord(operation.celsius);
        setup.thresholds.gSeuil_RH_asWord =
            HumidityThresholdWord(operation.percent, station_.Humidity());
        setup.gAutoTempRH_Heat = station_.Heating().gAutoTempRH_Heat;
        setup.gPowerHeaterLevel = PowerLevelByte(operation.power);
        station_.UpdateSetup(setup);
        break;
      }
      case Kind::ManualCooling:
        station_.SetManualCooler(operation.on);
        break;
      case Kind::AutoCooling:
        station_.SetAutoCooler(operation.on);
        break;
      case Kind::Aperture:
        station_.SetListAperture(operation.index);
        break;
      case Kind::Iris:
        station_.CloseIris(true, static_cast<std::uint8_t>(operation.index));
        break;
      case Kind::Focus:
        station_.SendFocusOrder(operation.PlanFocus(station_.Lens().AbsolFocus));
        break;
    }
    // The page shows the board's new state, as the window does after a change.
    station_.PollDevice(true);
    return "Done: " + operation.Text();
  }

 private:
  Station& station_;
  Station::PostToMain post_;
};

// What the window shows after a poll, for the live page.
WebLiveState LiveState(const Station& station, const TDataOUT* out) {
  const IdentityState& id = station.Identity();
  const HeatingState& heating = station.Heating();
  WebLiveState s;
  // The connection's own first poll comes before the station counts as connected: a reading
  // is the link's proof.
  s.connected = station.Connected() || out != nullptr;
  s.polled = out != nullptr;
  if (id.Version > 0) {
    s.model = ModelTypeOf(id.TypeCam, id.Version).label;
    s.firmware = " Ver. FIRM : " + FloatToText(id.Version);
  }
  s.serialNumber = id.SerialNumber;
  s.polls = station.NbPools();
  s.failedPolls = station.NbPoolsFailed();
  s.hasTempHot = id.DisplayTempHot;
  s.hasRHInt = id.DisplayRH_int;
  s.hasPressureAndWind = ShowsPressureAndWind(id.TypeCam);
  s.hasCooling =
      id.Version > 0 && ModelTypeOf(id.TypeCam, id.Version).cooling != CoolingKind::Hidden;
  s.hasLens = id.DriveEFlens_intf;
  s.heaterOn = heating.gHeaterON;
  s.autoHeat = heating.gAutoTempRH_Heat;
  s.powerLevel = heating.gPowerHeaterLevel;
  if (station.ThresholdsReadBack()) {
    s.thresholdTemp = CountToCelsius(heating.gSeuil_Temp_asWord);
    s.thresholdRH = CountToHumidity(heating.gSeuil_RH_asWord, station.Humidity());
  }
  if (out == nullptr) {
    s.readings =
        station.NbPools() + station.NbPoolsFailed() > 0 ? PlaceholderReadings() : InitialReadings();
    return s;
  }
  s.readings = FormatReadings(out->infosRec);
  if (s.hasCooling) {
    // The texts alone: the window keeps the automatic mode's own state.
    TstateCoolCCD state = out->StateCCDCool;
    TstateCoolCCD previous = state;
    const CoolingTexts cooling = PresentCooling(out->StatusCooler, Now(), state, previous);
    s.coolingMode = cooling.StaticTextModeCooling;
    s.coolingState = cooling.StaticTextCoolingState;
    s.fanOn = out->ValueFan != 0;
  }
  if (s.hasLens) {
    s.lens = out->PresenceAF ? out->LensName : "No lens";
  }
  const TTinfosRec& history = station.Datas();
  if (!history.empty()) {
    s.record = history.back();
    RecordValues(history, history.size() - 1, s.recordValues);
  }
  return s;
}

class Integrations final : public SessionIntegrations {
 public:
  Integrations(const StationSettings& settings, Line log, Line status, Station& station,
               Station::PostToMain post)
      : enabled_(settings.alpaca.Enabled || settings.mqtt.Enabled || settings.web.Enabled),
        web_(settings.web),
        log_(log),
        status_(std::move(status)),
        station_(station),
        forWeb_(station, std::move(post)),
        integrations_(settings.alpaca, settings.mqtt, Options(std::move(log))) {
    integrations_.SetStatusListener([this](const std::string&) { TellStatus(); });
    if (web_.Enabled) {
      webServer_.emplace(forWeb_, station.ChemExec());
    }
  }

  bool Enabled() const override { return enabled_; }
  void Start() override {
    integrations_.Start();
    if (webServer_) {
      StartWeb();
    }
  }
  void Stop() override {
    integrations_.Stop();
    if (webServer_ && webServer_->Port() != 0) {
      webServer_->Stop();
      SetWebStatus("off");
    }
  }
  void SetPollPeriod(std::chrono::milliseconds period) override {
    integrations_.SetPollPeriod(period);
  }
  void PollEnded(const TDataOUT* out) override {
    if (out != nullptr) {
      const IdentityState& id = station_.Identity();
      integrations_.PollArrived(
          {*out, id.TypeCam, id.Version, id.DisplayRH_int, id.DisplayTempHot, id.SerialNumber});
    }
    PublishWeb(out);
  }
  std::string StatusText() const override {
    if (!webServer_) {
      return integrations_.StatusText();
    }
    std::lock_guard lock(mutex_);
    return integrations_.StatusText() + " | Web: " + webStatus_;
  }
  void LinkClosed() override {
    integrations_.LinkClosed();
    PublishWeb(nullptr);
  }

 private:
  static IntegrationsOptions Options(Line log) {
    IntegrationsOptions options;
    options.log = std::move(log);
    return options;
  }

  void StartWeb() {
    if (const auto failure = webServer_->Start(web_.Bind, web_.Port)) {
      log_("Web page not started: " + *failure);
      SetWebStatus("not running, " + *failure);
      return;
    }
    const std::string where = web_.Bind + ":" + std::to_string(webServer_->Port());
    log_("Web page served on " + where);
    SetWebStatus("served on " + where);
    PublishWeb(nullptr);
  }

  void PublishWeb(const TDataOUT* out) {
    if (!webServer_ || webServer_->Port() == 0) {
      return;
    }
    WebLiveState state = LiveState(station_, out);
    state.integrations = StatusText();
    webServer_->Publish(state);
  }

  void SetWebStatus(const std::string& text) {
    {
      std::lock_guard lock(mutex_);
      webStatus_ = text;
    }
    TellStatus();
  }

  void TellStatus() {
    if (status_) {
      status_(StatusText());
    }
  }

  const bool enabled_;
  const TWebSettings web_;
  const Line log_;
  const Line status_;
  Station& station_;
  StationForWeb forWeb_;
  mutable std::mutex mutex_;  // protects webStatus_
  std::string webStatus_ = "off";
  TIntegrations integrations_;
  std::optional<WebServer> webServer_;
};

}  // namespace

std::unique_ptr<SessionIntegrations> SessionIntegrations::Make(const StationSettings& settings,
                                                               Line log, Line status,
                                                               Station& station,
                                                               Station::PostToMain post) {
  return std::make_unique<Integrations>(settings, std::move(log), std::move(status), station,
                                        std::move(post));
}

}  // namespace vesk
