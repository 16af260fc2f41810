#include "integrations/integrations.h"

#include <utility>

namespace vesk {

TIntegrations::TIntegrations(const TAlpacaSettings& alpaca, const TMqttSettings& mqtt,
                             IntegrationsOptions options)
    : alpacaSettings_(alpaca),
      mqttEnabled_(mqtt.Enabled),
      discoveryPort_(options.discoveryPort),
      status_(std::move(options.log)),
      latest_(std::move(options.now)),
      api_(latest_, {alpaca.UnsafeHumidity, alpaca.DewMargin}),
      server_(api_),
      mqtt_(mqtt, status_, options.mqttLongestPause) {}

TIntegrations::~TIntegrations() {
  Stop();
}

void TIntegrations::SetStatusListener(IntegrationStatus::Listener listener) {
  status_.SetListener(std::move(listener));
}

void TIntegrations::Start() {
  if (alpacaSettings_.Enabled) {
    StartAlpaca();
  }
  if (mqttEnabled_) {
    mqtt_.Start();
  }
}

void TIntegrations::StartAlpaca() {
  const std::string& bind = alpacaSettings_.Bind;
  if (const auto failure = server_.Start(bind, alpacaSettings_.Port)) {
    status_.Log("Alpaca server not started: " + *failure);
    status_.SetAlpaca("not running, " + *failure);
    return;
  }
  const std::string where = bind + ":" + std::to_string(server_.Port());
  if (const auto failure = discovery_.Start(bind, discoveryPort_, server_.Port())) {
    status_.Log("Alpaca server listening on " + where + "; no discovery: " + *failure);
    status_.SetAlpaca("listening on " + where + ", no discovery");
    return;
  }
  status_.Log("Alpaca server listening on " + where + ", discovery on UDP port " +
              std::to_string(discovery_.Port()));
  status_.SetAlpaca("listening on " + where);
}

void TIntegrations::Stop() {
  mqtt_.Stop();
  const bool alpacaRan = server_.Port() != 0;
  discovery_.Stop();
  server_.Stop();
  if (alpacaRan) {
    status_.SetAlpaca("off");
  }
}

void TIntegrations::SetPollPeriod(std::chrono::milliseconds period) {
  latest_.SetPollPeriod(period);
}

void TIntegrations::PollArrived(const BoardReading& reading) {
  latest_.Store(reading);
  mqtt_.Publish(reading);
}

void TIntegrations::LinkClosed() {
  mqtt_.LinkClosed();
}

}  // namespace vesk
