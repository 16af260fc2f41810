// The observatory integrations: started with the window, fed by each successful poll, shown
// in the status bar, stopped before the station when the window closes.
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include <chrono>

#include "acquisition/poll_records.h"
#include "app/main_window.h"
#include "common/event_log.h"
#include "integrations/integrations.h"
#include "settings/settings_file.h"
#include "station/station.h"

namespace vesk {

void TMAINForm::StartIntegrations() {
  const TAlpacaSettings alpaca = FileIni->ReadAlpaca();
  const TMqttSettings mqtt = FileIni->ReadMqtt();
  IntegrationsOptions options;
  options.log = [](const std::string& line) { WriteLog(line); };
  integrations_ = std::make_unique<TIntegrations>(alpaca, mqtt, std::move(options));
  integrations_->SetPollPeriod(std::chrono::milliseconds(TimerGetPeriodicData->interval()));
  if (!alpaca.Enabled && !mqtt.Enabled) {
    return;  // nothing to show to an operator who uses neither
  }
  StatusIntegrations = new QLabel(statusBar());
  StatusIntegrations->setObjectName(QStringLiteral("StatusIntegrations"));
  // The whole text is in the hint; the panel shows what fits.
  StatusIntegrations->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  StatusIntegrations->setMinimumWidth(120);
  statusBar()->addPermanentWidget(StatusIntegrations, 1);
  // Changes come from the servers' threads; the label is shown on the main thread.
  integrations_->SetStatusListener([this](const std::string& text) {
    const QString shown = QString::fromStdString(text);
    QMetaObject::invokeMethod(
        this, [this, shown] { ShowIntegrationsStatus(shown); }, Qt::QueuedConnection);
  });
  integrations_->Start();
  ShowIntegrationsStatus(QString::fromStdString(integrations_->StatusText()));
}

void TMAINForm::ShowIntegrationsStatus(const QString& text) {
  if (StatusIntegrations) {
    StatusIntegrations->setText(text);
    StatusIntegrations->setToolTip(text);
  }
}

void TMAINForm::IntegrationsPollArrived(const TDataOUT& out) {
  if (integrations_) {
    const IdentityState& id = station_->Identity();
    integrations_->PollArrived(
        {out, id.TypeCam, id.Version, id.DisplayRH_int, id.DisplayTempHot, id.SerialNumber});
  }
}

void TMAINForm::StopIntegrations() {
  if (integrations_) {
    integrations_->Stop();
  }
}

}  // namespace vesk
