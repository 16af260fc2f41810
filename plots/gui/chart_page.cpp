#include "plots/gui/chart_page.h"

#include "plots/gui/custom_plot.h"

#include <QVBoxLayout>

namespace vesk {

ChartPage::ChartPage(ChartKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
  setObjectName(QString::fromLatin1(LookOf(kind).pageName));
  chart_ = MakeChart(kind);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(chart_);
  connect(chart_, &QCustomPlot::mouseMove, this,
          [this](QMouseEvent* event) { ChartMouseMove(event->pos()); });
}

void ChartPage::ChartMouseMove(QPoint pixel) {
  Q_EMIT cursorReadout(CursorText(*chart_, kind_, pixel));
}

}  // namespace vesk
