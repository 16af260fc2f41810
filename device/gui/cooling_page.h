#pragma once

#include <QWidget>

#include "acquisition/poll_records.h"
#include "acquisition/readings_text.h"

class QCheckBox;
class QGroupBox;
class QLabel;

namespace vesk {

class Station;

// The "Sensor cooling" page: hot-side temperature, inside humidity, day, cooling and fan
// states, the cooling mode with the causes of its last start or stop, and the group of the two
// cooling modes (hidden until a model with a cooled sensor is connected).
class CoolingPage : public QWidget {
  Q_OBJECT

 public:
  explicit CoolingPage(Station& station, QWidget* parent = nullptr);

  static QString caption();

  // Full cooling (code 4) shows the day, cooling and fan states and the mode group.
  void ShowModel(bool fullCooling);
  // A poll of a model with a hot side: its temperature, the sensor states, the fan and the
  // cooling mode with the causes of its last start or stop. The mode boxes follow the board
  // without sending anything.
  void ShowReadings(const ReadingsTexts& texts, const TDataOUT& out);
  void ShowInsideHumidity(const ReadingsTexts& texts);
  void ResetReadings(const ReadingsTexts& placeholders);
  // Forgets the cooling state of the last poll (start of the program).
  void ResetCoolingState() { PreviousStateCCDCool = {}; }

  // The operator's clicks on the two mode boxes, the box already switched. While connected
  // each sends its order and polls; a failure only puts the box back, silently, since the
  // next poll shows the board's real mode anyway.
  void CheckBoxCOOLINGManualClick();
  void CheckBoxAutoCoolClick();

 Q_SIGNALS:
  // One poll, run and applied before the signal returns.
  void pollRequested();

 private:
  void ApplyCooling(const TDataOUT& out);
  // clicked: the box the operator switched; other: the box enabled exactly when it is off.
  void SwitchMode(QCheckBox* clicked, QCheckBox* other, void (Station::*order)(bool));

  Station& station_;

  TstateCoolCCD PreviousStateCCDCool;

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
