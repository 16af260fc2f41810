#include "plots/gui/chart_page.h"

#include "plots/gui/custom_plot.h"
#include "widgets/gui/guarded.h"

#include <QVBoxLayout>

namespace vesk {

ChartPage::ChartPage(ChartKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
  setObjectName(QString::fromLatin1(LookOf(kind).pageName));
  chart_ = MakeChart(kind);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(chart_);
  void (ChartPage::*mouseMove)(QPoint) = &ChartPage::ChartMouseMove;
  switch (kind) {
    case ChartKind::Temperatures:
      mouseMove = &ChartPage::ChartTempMouseMove;
      break;
    case ChartKind::RelativeHumidity:
      mouseMove = &ChartPage::ChartRHMouseMove;
      break;
    case ChartKind::Pressure:
      mouseMove = &ChartPage::ChartPressMouseMove;
      break;
    case ChartKind::WindData:
      mouseMove = &ChartPage::ChartWindDirMouseMove;
      break;
    case ChartKind::WindSpeed:  // on its own page, WindSpeedPage
      break;
  }
  connect(chart_, &QCustomPlot::mouseMove, this, [this, mouseMove](QMouseEvent* event) {
    Guarded(this, [this, mouseMove, event] { (this->*mouseMove)(event->pos()); });
  });
}

void ChartPage::ChartTempMouseMove(QPoint pixel) {
  ChartMouseMove(pixel);
}

void ChartPage::ChartRHMouseMove(QPoint pixel) {
  ChartMouseMove(pixel);
}

void ChartPage::ChartPressMouseMove(QPoint pixel) {
  ChartMouseMove(pixel);
}

void ChartPage::ChartWindDirMouseMove(QPoint pixel) {
  ChartMouseMove(pixel);
}

void ChartPage::ChartMouseMove(QPoint pixel) {
  Q_EMIT cursorReadout(CursorText(*chart_, kind_, pixel));
}

}  // namespace vesk
