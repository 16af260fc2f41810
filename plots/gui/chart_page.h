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

 private:
  QCustomPlot* chart_;

 private:
  ChartKind kind_;
};

}  // namespace vesk
