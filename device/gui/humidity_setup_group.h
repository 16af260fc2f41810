#pragma once

#include <QGroupBox>

#include "acquisition/sensor_conversions.h"

class QLabel;
class QPushButton;

namespace vesk {

class TNumberEdit;

// The group "External relative humidity setup": the two constants of the humidity conversion.
class HumiditySetupGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit HumiditySetupGroup(QWidget* parent = nullptr);

  // The constants in use, with five decimals.
  void ShowConstants(const HumidityConstants& constants);

 private:
  QLabel* LabelGainRH;
  TNumberEdit* NumberEditGainRH;
  QLabel* LabelOffsetRH;
  TNumberEdit* NumberEditOffsetRH;
  QPushButton* ButtonAPPLY_T_RH_consts;
};

}  // namespace vesk
