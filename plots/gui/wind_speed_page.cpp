#include "plots/gui/wind_speed_page.h"

#include "plots/gui/custom_plot.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/datetime.h"
#include "plots/gui/chart_set.h"
#include "plots/gui/chart_widget.h"
#include "plots/time_window.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/named_control.h"
#include "widgets/gui/number_edit.h"

namespace vesk {

namespace {

QPushButton* WindowButton(const char* name, const QString& text) {
  auto* button = Named<QPushButton>(name, text);
  button->setFixedWidth(44);
  return button;
}

}  // namespace

WindSpeedPage::WindSpeedPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheetWind"));
  ChartWindspeed = MakeChart(ChartKind::WindSpeed);

  connect(ChartWindspeed, &QCustomPlot::mouseMove, this, [this](QMouseEvent* event) {
    Guarded(this, [this, event] { ChartWindspeedMouseMove(event->pos()); });
  });

  Button_1h_Vent = WindowButton(kWindButtons[0].name, QString::fromUtf8(kWindButtons[0].caption));
  Button5 = WindowButton(kWindButtons[1].name, QString::fromUtf8(kWindButtons[1].caption));
  Button12hwind = WindowButton(kWindButtons[2].name, QString::fromUtf8(kWindButtons[2].caption));
  connect(Button_1h_Vent, &QPushButton::clicked, this,
          GuardedSlot(this, &WindSpeedPage::Button_1h_VentClick));
  connect(Button5, &QPushButton::clicked, this,
          GuardedSlot(this, &WindSpeedPage::Button_3h_VentClick));
  connect(Button12hwind, &QPushButton::clicked, this,
          GuardedSlot(this, &WindSpeedPage::Button12hwindClick));

  CheckBoxGainWindCorrection =
      Named<QCheckBox>("CheckBoxGainWindCorrection", QStringLiteral("Set temperature correction"));
  NumberEditGainWindTemp =
      Named<TNumberEdit>("NumberEditGainWindTemp", TNumberEdit::TTypeValue::Float, -150, 150,
                         QStringLiteral("-0.1663"));
  NumberEditGainWindTemp->setFixedWidth(80);
  LabelGainWindUnit = Named<QLabel>("LabelGainWindUnit", QStringLiteral("km/h  / °C wrt 20°C"));
  LabelGainWindUnit->setBuddy(NumberEditGainWindTemp);

  auto* bar = new QHBoxLayout;
  bar->addWidget(Button_1h_Vent);
  bar->addWidget(Button5);
  bar->addWidget(Button12hwind);
  bar->addStretch(1);
  bar->addWidget(CheckBoxGainWindCorrection);
  bar->addSpacing(8);
  bar->addWidget(NumberEditGainWindTemp);
  bar->addWidget(LabelGainWindUnit);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 4);
  layout->addWidget(ChartWindspeed, 1);
  layout->addLayout(bar);
}

QString WindSpeedPage::caption() {
  return LookOf(ChartKind::WindSpeed).caption;
}

bool WindSpeedPage::CorrectWindSpeed() const {
  return CheckBoxGainWindCorrection->isChecked();
}

std::string WindSpeedPage::FactorText() const {
  return NumberEditGainWindTemp->text().toStdString();
}

void WindSpeedPage::WindButtonClick(const TWindButton& button) {
  charts_->timeWindow().Press(button);
  charts_->SetWindWindow(Now());
}

void WindSpeedPage::Button_1h_VentClick() {
  WindButtonClick(ButtonNamed(kWindButtons, "Button_1h_Vent"));
}

void WindSpeedPage::Button_3h_VentClick() {
  WindButtonClick(ButtonNamed(kWindButtons, "Button5"));
}

void WindSpeedPage::Button12hwindClick() {
  WindButtonClick(ButtonNamed(kWindButtons, "Button12hwind"));
}

void WindSpeedPage::ChartWindspeedMouseMove(QPoint pixel) {
  Q_EMIT cursorReadout(CursorText(*ChartWindspeed, ChartKind::WindSpeed, pixel));
}

}  // namespace vesk
