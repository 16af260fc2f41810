#pragma once

#include <QWidget>

#include "plots/gui/chart_widget.h"

class QCustomPlot;

namespace vesk {

// A page holding one chart alone: "Temperatures", "Relative humidity", "Pressure",
// "Wind data". The wind speed chart has its own page (WindSpeedPage).
class ChartPage : public QWidget {
  Q_OBJECT

 public:
  explicit ChartPage(ChartKind kind, QWidget* parent = nullptr);

  QString caption() const { return LookOf(kind_).caption; }
  QCustomPlot* chart() const { return chart_; }

 Q_SIGNALS:
  // The text of status panel 1 while the cursor moves over the chart.
  void cursorReadout(const QString& text);

 private:
  // What the mouse-move handlers share: the readout of the page's own chart.
  void ChartMouseMove(QPoint pixel);

 private Q_SLOTS:
  // The one of its chart is connected.
  void ChartTempMouseMove(QPoint pixel);
  void ChartRHMouseMove(QPoint pixel);
  void ChartPressMouseMove(QPoint pixel);
  void ChartWindDirMouseMove(QPoint pixel);

 private:
  QCustomPlot* chart_;
  ChartKind kind_;
};

}  // namespace vesk
