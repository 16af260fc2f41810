#pragma once

#include <QGroupBox>

#include "device/heating_orders.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vesk {

class Station;
class TNumberEdit;

// The group "Dome heating thresholds": new values, the board's current values and
// "Update into device".
class HeatingThresholdsGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit HeatingThresholdsGroup(Station& station, QWidget* parent = nullptr);

  // "Update into device": the new values are written to the board and read back, then a
  // poll shows the board's state. A field that is not a number, a power level outside 0 to
  // 255 and the board's refusal raise before the rest (nothing is sent for the first two).
  void ButtonUpdateSetupClick();

  // The thresholds read back from the board, the raw counts as hints.
  void ShowThresholds(const HeatingThresholdTexts& texts);
  void ShowPowerLevel(int percent);
  // The new-value fields start from the board's current values.
  void StartFromCurrentValues();

 Q_SIGNALS:
  // One poll, run and applied before the signal returns.
  void pollRequested();

 private:
  Station& station_;
  QLabel* LabelTempSeuilCaption;
  TNumberEdit* NumberEditTemp_Seuil;
  QLineEdit* Label_TempSeuil;
  QLabel* LabelRHSeuilCaption;
  TNumberEdit* NumberEditRH_seuil;
  QLineEdit* Label_RHSeuil;
  QLabel* LabelPowerCaption;
  TNumberEdit* NumberEditPower_Level;
  QLineEdit* Label_PowerMax;
  QPushButton* ButtonUpdateSetup;
};

}  // namespace vesk
