#pragma once

#include <QGroupBox>

#include <filesystem>

#include "settings/integration_settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vesk {

// "Observatory": the Alpaca server (enabled, port, bind address, unsafe humidity, dew margin)
// and the MQTT publisher (enabled, host, port, user, password, topic) of the settings file in
// folder. "Apply" checks the values, refuses bad ones with a message and stores nothing then;
// good ones are stored (both sections in one write) and announced with applied(), for the
// owner to restart the integrations that changed.
class ObservatoryGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit ObservatoryGroup(std::filesystem::path folder, QWidget* parent = nullptr);

  // Shows what the settings file holds now (the fields lose what was typed and not applied).
  void Reload();

 Q_SIGNALS:
  // After the values were stored; each flag tells whether that section changed.
  void applied(const vesk::TAlpacaSettings& alpaca, const vesk::TMqttSettings& mqtt,
               bool alpacaChanged, bool mqttChanged);

 private:
  void ButtonApplyObservatoryClick();
  // The fields' values, or the message of the first that is not a number.
  bool ReadFields(TAlpacaSettings& alpaca, TMqttSettings& mqtt, QString& problem) const;
  void ShowProblem(const QString& text);

  std::filesystem::path folder_;
  TAlpacaSettings alpaca_;
  TMqttSettings mqtt_;

  QCheckBox* CheckBoxAlpaca;
  QLineEdit* EditAlpacaPort;
  QLineEdit* EditAlpacaBind;
  QLineEdit* EditUnsafeHumidity;
  QLineEdit* EditDewMargin;
  QCheckBox* CheckBoxMqtt;
  QLineEdit* EditMqttHost;
  QLineEdit* EditMqttPort;
  QLineEdit* EditMqttUser;
  QLineEdit* EditMqttPass;
  QLineEdit* EditMqttTopic;
  QLabel* LabelObservatoryStatus;
  QPushButton* ButtonApplyObservatory;
};

}  // namespace vesk
