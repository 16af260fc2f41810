// The observatory integrations and the event log's trouble in the status bar: the session
// runs the integrations; the window shows what they and the log report.
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include <chrono>

#include "app/main_window.h"
#include "station/station_session.h"

namespace vesk {
namespace {

// A panel of the status bar that shows what fits and holds the whole text in its hint.
QLabel* AddStatusPanel(QStatusBar* bar, const char* name) {
  auto* panel = new QLabel(bar);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  panel->setMinimumWidth(120);
  bar->addPermanentWidget(panel, 1);
  return panel;
}

}  // namespace

void TMAINForm::StartIntegrations() {
  session_->SetPollPeriod(std::chrono::milliseconds(TimerGetPeriodicData->interval()));
  session_->StartIntegrations();
  ShowIntegrationsStatus(QString::fromStdString(session_->IntegrationsStatusText()));
}

void TMAINForm::ApplyObservatory(const TAlpacaSettings& alpaca, const TMqttSettings& mqtt,
                                 bool alpacaChanged, bool mqttChanged) {
  if (!alpacaChanged && !mqttChanged) {
    return;
  }
  session_->RestartIntegrations(alpaca, mqtt);
  ShowIntegrationsStatus(QString::fromStdString(session_->IntegrationsStatusText()));
}

void TMAINForm::IntegrationsStatus(const std::string& text) {
  // From the servers' threads; the label is shown on the main thread.
  const QString shown = QString::fromStdString(text);
  QMetaObject::invokeMethod(
      this, [this, shown] { ShowIntegrationsStatus(shown); }, Qt::QueuedConnection);
}

void TMAINForm::ShowIntegrationsStatus(const QString& text) {
  // Nothing shown to an operator who uses neither.
  const bool enabled = session_->IntegrationsEnabled();
  if (!StatusIntegrations && !enabled) {
    return;
  }
  if (!StatusIntegrations) {
    StatusIntegrations = AddStatusPanel(statusBar(), "StatusIntegrations");
  }
  StatusIntegrations->setVisible(enabled);
  StatusIntegrations->setText(text);
  StatusIntegrations->setToolTip(text);
}

void TMAINForm::LogTrouble(const std::string& text, bool failing) {
  // From whichever thread wrote the line.
  const QString shown = QString::fromStdString(text);
  QMetaObject::invokeMethod(
      this, [this, shown, failing] { ShowLogTrouble(shown, failing); }, Qt::QueuedConnection);
}

void TMAINForm::ShowLogTrouble(const QString& text, bool failing) {
  if (!StatusLog) {
    StatusLog = AddStatusPanel(statusBar(), "StatusLog");
    StatusLog->setStyleSheet(QStringLiteral("color: #b00000;"));
  }
  StatusLog->setText(text);
  StatusLog->setToolTip(text);
  StatusLog->setVisible(failing);
}

}  // namespace vesk
