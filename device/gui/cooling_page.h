#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;

namespace vesk {

// The "Sensor cooling" page: hot-side temperature, inside humidity, day, cooling and fan
// states, the cooling mode with the causes of its last start or stop, and the group of the two
// cooling modes (hidden until a model with a cooled sensor is connected).
class CoolingPage : public QWidget {
  Q_OBJECT

 public:
  explicit CoolingPage(QWidget* parent = nullptr);

  static QString caption();

  QGroupBox* GroupBoxCoolDirect;
  QCheckBox* CheckBoxCOOLINGManual;
  QCheckBox* CheckBoxAutoCool;

  QGroupBox* GroupBoxCoolSensors;
  QLabel* LabelSayTempHOT;
  QLabel* LabelTempHOT;
  QLabel* LabelSayRH_int;
  QLabel* LabelRH_int;
  QLabel* LabelSayJour;
  QLabel* LabelJour;
  QLabel* LabelSayCooling;
  QLabel* LabelCoolingEnabled;
  QLabel* LabelSayFan;
  QLabel* LabelFanEnabled;
  QLabel* LabelSpeedfan;

  QGroupBox* GroupBoxCoolState;
  QLabel* LabelSayModeCooling;
  QLabel* StaticTextModeCooling;
  QLabel* LabelSayCoolingState;
  QLabel* StaticTextCoolingState;
  QLabel* LabelSayStartCauseCool;
  QLabel* StaticTextStartCauseCool;
  QLabel* LabelSayStopCause;
  QLabel* LabelSayStopDay;
  QLabel* LabelSayStopHot;
  QLabel* LabelSayTooWet;
  QLabel* StaticTextStopDay;
  QLabel* StaticTextStopHot;
  QLabel* StaticTextTooWet;
};

}  // namespace vesk
