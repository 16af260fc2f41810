#pragma once

#include <QGroupBox>

#include "device/heating_orders.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vesk {

class TNumberEdit;

// The group "Dome heating thresholds": new values, the board's current values and
// "Update into device".
class HeatingThresholdsGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit HeatingThresholdsGroup(QWidget* parent = nullptr);

  // The thresholds read back from the board, the raw counts as hints.
  void ShowThresholds(const HeatingThresholdTexts& texts);
  void ShowPowerLevel(int percent);
  // The new-value fields start from the board's current values.
  void StartFromCurrentValues();

 private:
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
