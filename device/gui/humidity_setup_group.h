#pragma once

#include <QGroupBox>

class QLabel;
class QPushButton;

namespace vesk {

class TNumberEdit;

// The group "External relative humidity setup": the two constants of the humidity conversion.
class HumiditySetupGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit HumiditySetupGroup(QWidget* parent = nullptr);

  QLabel* LabelGainRH;
  TNumberEdit* NumberEditGainRH;
  QLabel* LabelOffsetRH;
  TNumberEdit* NumberEditOffsetRH;
  QPushButton* ButtonAPPLY_T_RH_consts;
};

}  // namespace vesk
