#pragma once

#include <QGroupBox>

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
