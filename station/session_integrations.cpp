#include "station/session_integrations.h"

#include "integrations/integrations.h"
#include "station/station_state.h"

namespace vesk {
namespace {

class Integrations final : public SessionIntegrations {
 public:
  Integrations(const StationSettings& settings, Line log, Line status)
      : enabled_(settings.alpaca.Enabled || settings.mqtt.Enabled),
        integrations_(settings.alpaca, settings.mqtt, Options(std::move(log))) {
    integrations_.SetStatusListener(std::move(status));
  }

  bool Enabled() const override { return enabled_; }
  void Start() override { integrations_.Start(); }
  void Stop() override { integrations_.Stop(); }
  void SetPollPeriod(std::chrono::milliseconds period) override {
    integrations_.SetPollPeriod(period);
  }
  void PollArrived(const TDataOUT& out, const IdentityState& id) override {
    integrations_.PollArrived(
        {out, id.TypeCam, id.Version, id.DisplayRH_int, id.DisplayTempHot, id.SerialNumber});
  }
  std::string StatusText() const override { return integrations_.StatusText(); }
  void LinkClosed() override { integrations_.LinkClosed(); }

 private:
  static IntegrationsOptions Options(Line log) {
    IntegrationsOptions options;
    options.log = std::move(log);
    return options;
  }

  const bool enabled_;
  TIntegrations integrations_;
};

}  // namespace

std::unique_ptr<SessionIntegrations> SessionIntegrations::Make(const StationSettings& settings,
                                                               Line log, Line status) {
  return std::make_unique<Integrations>(settings, std::move(log), std::move(status));
}

}  // namespace vesk
