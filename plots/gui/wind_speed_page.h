#pragma once

#include <QWidget>

#include <string>

class QCheckBox;
class QCustomPlot;
class QLabel;
class QPushButton;

namespace vesk {

class ChartSet;
class TNumberEdit;
struct TWindButton;

// The "Wind speed" page: the wind speed chart, its own time-window buttons and the
// temperature correction of the wind speed. The wind buttons move the two wind charts only,
// through the window all charts share.
class WindSpeedPage : public QWidget {
  Q_OBJECT

 public:
  explicit WindSpeedPage(QWidget* parent = nullptr);

  static QString caption();

  QCustomPlot* chart() const { return ChartWindspeed; }
  // The charts the wind buttons move; before any button is used.
  void Attach(ChartSet& charts) { charts_ = &charts; }
  // The temperature correction of the wind speed that the next poll applies.
  bool CorrectWindSpeed() const;
  std::string FactorText() const;

 Q_SIGNALS:
  // The text of status panel 1 while the cursor moves over the chart.
  void cursorReadout(const QString& text);

 private:
  // What the three wind buttons share.
  void WindButtonClick(const TWindButton& button);

 private Q_SLOTS:
  void Button_1h_VentClick();
  void Button_3h_VentClick();  // of Button5, "3h"
  void Button12hwindClick();
  void ChartWindspeedMouseMove(QPoint pixel);

 private:
  ChartSet* charts_ = nullptr;
  QCustomPlot* ChartWindspeed;
  QPushButton* Button_1h_Vent;
  QPushButton* Button5;  // "3h"
  QPushButton* Button12hwind;
  QCheckBox* CheckBoxGainWindCorrection;
  TNumberEdit* NumberEditGainWindTemp;
  QLabel* LabelGainWindUnit;
};

}  // namespace vesk
