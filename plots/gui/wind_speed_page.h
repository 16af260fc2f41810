#pragma once

#include <QWidget>

#include <string>

class QCheckBox;
class QCustomPlot;
class QLabel;
class QPushButton;

namespace vesk {

class TNumberEdit;

// The "Wind speed" page: the wind speed chart, its own time-window buttons and the
// temperature correction of the wind speed.
class WindSpeedPage : public QWidget {
  Q_OBJECT

 public:
  explicit WindSpeedPage(QWidget* parent = nullptr);

  static QString caption();

  QCustomPlot* chart() const { return ChartWindspeed; }
  // The temperature correction of the wind speed that the next poll applies.
  bool CorrectWindSpeed() const;
  std::string FactorText() const;

 private:
  QCustomPlot* ChartWindspeed;
  QPushButton* Button_1h_Vent;
  QPushButton* Button5;  // "3h"
  QPushButton* Button12hwind;
  QCheckBox* CheckBoxGainWindCorrection;
  TNumberEdit* NumberEditGainWindTemp;
  QLabel* LabelGainWindUnit;
};

}  // namespace vesk
