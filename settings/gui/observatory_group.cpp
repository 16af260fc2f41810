#include "settings/gui/observatory_group.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <climits>
#include <exception>

#include "common/number_text.h"
#include "settings/integration_checks.h"
#include "settings/settings_file.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/named_control.h"

namespace vesk {
namespace {

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

std::string Value(const QLineEdit* edit) {
  return edit->text().trimmed().toStdString();
}

// A whole number typed into edit, else the message naming what.
bool WholeNumber(const QLineEdit* edit, const char* what, int& value, QString& problem) {
  long long number = 0;
  if (!TextToInt(Value(edit), number) || number < INT_MIN || number > INT_MAX) {
    problem = QStringLiteral("The %1 must be a whole number.").arg(QLatin1String(what));
    return false;
  }
  value = static_cast<int>(number);
  return true;
}

bool Number(const QLineEdit* edit, const char* what, double& value, QString& problem) {
  if (!TextToFloat(Value(edit), value)) {
    problem =
        QStringLiteral("The %1 must be a number (with a point: 2.5).").arg(QLatin1String(what));
    return false;
  }
  return true;
}

}  // namespace

ObservatoryGroup::ObservatoryGroup(std::filesystem::path folder, QWidget* parent)
    : QGroupBox(QStringLiteral("Observatory (Alpaca, MQTT)"), parent), folder_(std::move(folder)) {
  setObjectName(QStringLiteral("GroupBoxObservatory"));

  CheckBoxAlpaca = Named<QCheckBox>("CheckBoxAlpaca", QStringLiteral("Alpaca server"));
  EditAlpacaPort = Named<QLineEdit>("EditAlpacaPort");
  EditAlpacaBind = Named<QLineEdit>("EditAlpacaBind");
  EditAlpacaBind->setToolTip(
      QStringLiteral("127.0.0.1: this computer only; 0.0.0.0: every computer of the network"));
  EditUnsafeHumidity = Named<QLineEdit>("EditUnsafeHumidity");
  EditDewMargin = Named<QLineEdit>("EditDewMargin");
  CheckBoxMqtt = Named<QCheckBox>("CheckBoxMqtt", QStringLiteral("MQTT publisher"));
  EditMqttHost = Named<QLineEdit>("EditMqttHost");
  EditMqttPort = Named<QLineEdit>("EditMqttPort");
  EditMqttUser = Named<QLineEdit>("EditMqttUser");
  EditMqttPass = Named<QLineEdit>("EditMqttPass");
  EditMqttPass->setEchoMode(QLineEdit::Password);
  EditMqttTopic = Named<QLineEdit>("EditMqttTopic");
  EditMqttTopic->setPlaceholderText(QStringLiteral("vesk/<serial number>"));
  LabelObservatoryStatus = Named<QLabel>("LabelObservatoryStatus");
  LabelObservatoryStatus->setWordWrap(true);
  ButtonApplyObservatory = Named<QPushButton>("ButtonApplyObservatory", QStringLiteral("Apply"));

  // Two short rows, one a server, so the group fits across the setup page under its log.
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 4, 8, 4);
  grid->setVerticalSpacing(4);
  const auto place = [grid](int row, int column, const QString& caption, QWidget* field) {
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    grid->addWidget(label, row, column, Qt::AlignRight);
    grid->addWidget(field, row, column + 1);
  };
  grid->addWidget(CheckBoxAlpaca, 0, 0);
  place(0, 1, QStringLiteral("Port"), EditAlpacaPort);
  place(0, 3, QStringLiteral("Address"), EditAlpacaBind);
  place(0, 5, QStringLiteral("Unsafe humidity (%)"), EditUnsafeHumidity);
  place(0, 7, QStringLiteral("Dew margin (°C)"), EditDewMargin);
  grid->addWidget(CheckBoxMqtt, 1, 0);
  place(1, 1, QStringLiteral("Host"), EditMqttHost);
  place(1, 3, QStringLiteral("User"), EditMqttUser);
  place(1, 5, QStringLiteral("Password"), EditMqttPass);
  place(1, 7, QStringLiteral("Topic"), EditMqttTopic);
  place(1, 9, QStringLiteral("Port"), EditMqttPort);
  grid->addWidget(ButtonApplyObservatory, 0, 9, 1, 2);
  grid->addWidget(LabelObservatoryStatus, 2, 0, 1, 11);
  LabelObservatoryStatus->hide();  // shown with a refusal
  for (QLineEdit* narrow : {EditAlpacaPort, EditMqttPort, EditUnsafeHumidity, EditDewMargin}) {
    narrow->setMaximumWidth(56);
  }

  connect(ButtonApplyObservatory, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { ButtonApplyObservatoryClick(); }); });
  Reload();
}

void ObservatoryGroup::Reload() {
  const TSettingsFile settings(folder_);
  alpaca_ = settings.ReadAlpaca();
  mqtt_ = settings.ReadMqtt();
  CheckBoxAlpaca->setChecked(alpaca_.Enabled);
  EditAlpacaPort->setText(QString::number(alpaca_.Port));
  EditAlpacaBind->setText(Text(alpaca_.Bind));
  EditUnsafeHumidity->setText(Text(FloatToText(alpaca_.UnsafeHumidity)));
  EditDewMargin->setText(Text(FloatToText(alpaca_.DewMargin)));
  CheckBoxMqtt->setChecked(mqtt_.Enabled);
  EditMqttHost->setText(Text(mqtt_.Host));
  EditMqttPort->setText(QString::number(mqtt_.Port));
  EditMqttUser->setText(Text(mqtt_.User));
  EditMqttPass->setText(Text(mqtt_.Pass));
  EditMqttTopic->setText(Text(mqtt_.Topic));
  LabelObservatoryStatus->clear();
}

bool ObservatoryGroup::ReadFields(TAlpacaSettings& alpaca, TMqttSettings& mqtt,
                                  QString& problem) const {
  alpaca.Enabled = CheckBoxAlpaca->isChecked();
  alpaca.Bind = Value(EditAlpacaBind);
  mqtt.Enabled = CheckBoxMqtt->isChecked();
  mqtt.Host = Value(EditMqttHost);
  // Taken as typed: blanks around a password are refused rather than dropped unseen.
  mqtt.User = EditMqttUser->text().toStdString();
  mqtt.Pass = EditMqttPass->text().toStdString();
  mqtt.Topic = Value(EditMqttTopic);
  return WholeNumber(EditAlpacaPort, "Alpaca port", alpaca.Port, problem) &&
         Number(EditUnsafeHumidity, "unsafe humidity", alpaca.UnsafeHumidity, problem) &&
         Number(EditDewMargin, "dew margin", alpaca.DewMargin, problem) &&
         WholeNumber(EditMqttPort, "MQTT port", mqtt.Port, problem);
}

void ObservatoryGroup::ShowProblem(const QString& text) {
  LabelObservatoryStatus->setStyleSheet(QStringLiteral("color: #b00020;"));
  LabelObservatoryStatus->setText(text);
  LabelObservatoryStatus->setVisible(!LabelObservatoryStatus->text().isEmpty());
}

void ObservatoryGroup::ButtonApplyObservatoryClick() {
  TAlpacaSettings alpaca;
  TMqttSettings mqtt;
  QString problem;
  if (!ReadFields(alpaca, mqtt, problem)) {
    ShowProblem(problem + QStringLiteral(" Nothing was stored."));
    return;
  }
  // Checked enabled or not: what is stored must start once it is switched on.
  auto refused = AlpacaSettingsProblem(alpaca);
  if (!refused) {
    refused = MqttSettingsProblem(mqtt);
  }
  if (refused) {
    ShowProblem(Text(*refused) + QStringLiteral(" Nothing was stored."));
    return;
  }
  const bool alpacaChanged = !(alpaca == alpaca_);
  const bool mqttChanged = !(mqtt == mqtt_);
  if (!alpacaChanged && !mqttChanged) {
    LabelObservatoryStatus->setStyleSheet(QString());
    LabelObservatoryStatus->setText(QStringLiteral("Nothing changed."));
    LabelObservatoryStatus->setVisible(!LabelObservatoryStatus->text().isEmpty());
    return;
  }
  try {
    TSettingsFile(folder_).WriteIntegrations(alpaca, mqtt);
  } catch (const std::exception& e) {
    ShowProblem(Text(e.what()));
    return;
  }
  alpaca_ = alpaca;
  mqtt_ = mqtt;
  LabelObservatoryStatus->setStyleSheet(QString());
  LabelObservatoryStatus->setText(QStringLiteral("Stored; the changed integrations restart."));
  Q_EMIT applied(alpaca, mqtt, alpacaChanged, mqttChanged);
}

}  // namespace vesk
