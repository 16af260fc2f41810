#pragma once

#include <QGroupBox>

#include "acquisition/sensor_conversions.h"

class QLabel;
class QPushButton;

namespace vesk {

class Station;
class TNumberEdit;

// The group "External relative humidity setup": the two constants of the humidity conversion.
class HumiditySetupGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit HumiditySetupGroup(Station& station, QWidget* parent = nullptr);

  // The constants in use, with five decimals.
  void ShowConstants(const HumidityConstants& constants);

  // "Apply": both constants reach the next conversion together; nothing is sent to the
  // board. A field that is not a number raises and changes neither.
  void ButtonAPPLY_T_RH_constsClick();

 private:
  Station& station_;
  QLabel* LabelGainRH;
  TNumberEdit* NumberEditGainRH;
  QLabel* LabelOffsetRH;
  TNumberEdit* NumberEditOffsetRH;
  QPushButton* ButtonAPPLY_T_RH_consts;
};

}  // namespace vesk
