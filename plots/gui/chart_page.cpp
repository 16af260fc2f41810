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
}

}  // namespace vesk
