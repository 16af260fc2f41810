#pragma once

#include <QWidget>

class QVBoxLayout;
class QLabel;

namespace vesk {

class ActionsGroup;
class HeatingThresholdsGroup;
class HumiditySetupGroup;
class IdentityGroup;
class Station;

// The "Setup/config." page: the log view under its label "Log", beside the heating, actions,
// humidity-constant and identity groups.
class SetupPage : public QWidget {
  Q_OBJECT

 public:
  // The page shows the log view it is given and becomes its parent; the main window keeps
  // writing to it. The groups send their orders through the station.
  SetupPage(Station& station, QWidget* logView, QWidget* parent = nullptr);

  static QString caption();

  HeatingThresholdsGroup* heatingGroup() const { return heating; }
  ActionsGroup* actionsGroup() const { return actions; }
  HumiditySetupGroup* humiditySetupGroup() const { return humiditySetup; }
  IdentityGroup* identityGroup() const { return GroupBoxV3; }
  // The observatory settings (another folder's group, made by the window): across the page
  // under the log, the page becoming its parent.
  void PlaceObservatory(QWidget* group);

 private:
  QLabel* LabelLog;
  QWidget* RichEdit;
  HeatingThresholdsGroup* heating;
  ActionsGroup* actions;
  HumiditySetupGroup* humiditySetup;
  IdentityGroup* GroupBoxV3;
  QVBoxLayout* layout_;
};

}  // namespace vesk
