#include "plots/gui/plot_options_group.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <cstddef>

#include "common/datetime.h"
#include "common/exceptions.h"
#include "common/number_text.h"
#include "plots/gui/chart_set.h"
#include "plots/value_axis.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/message_box.h"
#include "widgets/gui/named_control.h"
#include "widgets/gui/number_edit.h"

namespace vesk {

namespace {

QPushButton* WindowButton(const char* name, const QString& text, const QString& hint) {
  auto* button = Named<QPushButton>(name, text);
  button->setToolTip(hint);
  button->setFixedWidth(40);
  return button;
}

// One forced-scale group: the check box, the two bounds under it, Apply and Save plots beside
// them.
QGroupBox* ScaleGroup(const char* name, const QString& title, QCheckBox* force, QLabel* minLabel,
                      TNumberEdit* minEdit, QLabel* maxLabel, TNumberEdit* maxEdit,
                      QPushButton* apply, QPushButton* save) {
  auto* group = Named<QGroupBox>(name, title);
  minEdit->setFixedWidth(56);
  maxEdit->setFixedWidth(56);
  minLabel->setBuddy(minEdit);
  maxLabel->setBuddy(maxEdit);

  auto* grid = new QGridLayout(group);
  grid->addWidget(force, 0, 0, 1, 4);
  grid->addWidget(minLabel, 1, 0);
  grid->addWidget(minEdit, 1, 1);
  grid->addWidget(maxLabel, 2, 0);
  grid->addWidget(maxEdit, 2, 1);
  grid->setColumnStretch(2, 1);
  grid->addWidget(apply, 1, 3);
  grid->addWidget(save, 2, 3);
  grid->setRowStretch(3, 1);
  return group;
}

QString OneDecimal(double value) {
  return QString::fromStdString(FormatText("%1.1f", value));
}

// A bound as the edit holds it, with the point as decimal separator.
double Bound(const TNumberEdit& edit) {
  const std::string text = edit.text().toStdString();
  double value = 0;
  if (!TextToFloat(text, value)) {
    throw Exception("'" + text + "' is not a valid floating point value");
  }
  return value;
}

}  // namespace

PlotOptionsGroup::PlotOptionsGroup(QWidget* parent) : QGroupBox(QStringLiteral("Plots"), parent) {
  setObjectName(QStringLiteral("GroupBoxPlotOptions"));
  using Kind = TNumberEdit::TTypeValue;

  readingsArea = Named<QWidget>("readingsArea");

  CheckBoxLock_translate =
      Named<QCheckBox>("CheckBoxLock_translate",
                       QStringLiteral("Lock X axis (plot will translate when new data comes)"));
  CheckBoxLock_translate->setChecked(true);
  CheckBoxWholeWindow =
      Named<QCheckBox>("CheckBoxWholeWindow", QStringLiteral("Show the whole window"));
  CheckBoxWholeWindow->setToolTip(
      QStringLiteral("Every record of the window, its lowest and highest values kept; "
                     "otherwise the newest 3000 records"));
  connect(CheckBoxWholeWindow, &QCheckBox::clicked, this,
          GuardedSlot(this, &PlotOptionsGroup::CheckBoxWholeWindowClick));

  BitBtnZoomM = WindowButton("BitBtnZoomM", QStringLiteral("-"),
                             QStringLiteral("Réduit de 50% (X et Y) le graphique"));
  connect(BitBtnZoomM, &QPushButton::clicked, this,
          GuardedSlot(this, &PlotOptionsGroup::BitBtnZoomMClick));

  auto* windowButtons = new QHBoxLayout;
  windowButtons->setSpacing(3);
  windowButtons->addWidget(BitBtnZoomM);
  // In the order of kWindowButtons.
  using Handler = void (PlotOptionsGroup::*)();
  const std::array<Handler, kWindowButtons.size()> handlers = {
      &PlotOptionsGroup::BitBtn1hClick,       &PlotOptionsGroup::BitBtn6hClick,
      &PlotOptionsGroup::BitBtn_last12hClick, &PlotOptionsGroup::BitBtn24hClick,
      &PlotOptionsGroup::BitBtn3JClick,       &PlotOptionsGroup::BitBtn1sClick,
      &PlotOptionsGroup::BitBtn1moisClick,    &PlotOptionsGroup::BitBtn6moisClick};
  for (std::size_t i = 0; i < kWindowButtons.size(); ++i) {
    const TWindowButton& button = kWindowButtons[i];
    QPushButton* control = WindowButton(button.name, QString::fromUtf8(button.caption),
                                        QString::fromUtf8(button.hint));
    connect(control, &QPushButton::clicked, this, GuardedSlot(this, handlers[i]));
    windowButtons->addWidget(control);
  }
  windowButtons->addStretch(1);

  const QString autoHint = QStringLiteral("Sinon c'est sur le mode auto");
  CheckBoxForceY =
      Named<QCheckBox>("CheckBoxForceY", QStringLiteral("Force Y scale to this  interval ->"));
  CheckBoxForceY->setToolTip(autoHint);
  Label1 = Named<QLabel>("Label1", QStringLiteral("Y Min (°C)"));
  EditMinY_V = Named<TNumberEdit>("EditMinY_V", Kind::Float, -60, 60, QStringLiteral("11"));
  Label2 = Named<QLabel>("Label2", QStringLiteral("Y Max (°C)"));
  EditMaxY_V = Named<TNumberEdit>("EditMaxY_V", Kind::Float, -60, 60, QStringLiteral("25"));
  ButtonApplyYTemp = Named<QPushButton>("ButtonApplyYTemp", QStringLiteral("Apply"));
  ButtonGraphSAV = Named<QPushButton>("ButtonGraphSAV", QStringLiteral("Save plots"));
  GroupBoxTempScale =
      ScaleGroup("GroupBoxTempScale", QStringLiteral("Temperature plot settings"), CheckBoxForceY,
                 Label1, EditMinY_V, Label2, EditMaxY_V, ButtonApplyYTemp, ButtonGraphSAV);

  CheckBoxRHYScale =
      Named<QCheckBox>("CheckBoxRHYScale", QStringLiteral("Force Y scale to this interval ->"));
  CheckBoxRHYScale->setToolTip(autoHint);
  Label13 = Named<QLabel>("Label13", QStringLiteral("Y Min (%RH)"));
  NumberEditAmpsMin =
      Named<TNumberEdit>("NumberEditAmpsMin", Kind::Float, 0, 100, QStringLiteral("0"));
  Label14 = Named<QLabel>("Label14", QStringLiteral("Y Max  (%RH)"));
  NumberEditAmpsMax =
      Named<TNumberEdit>("NumberEditAmpsMax", Kind::Float, -150, 150, QStringLiteral("100"));
  ButtonApplyRHYscale = Named<QPushButton>("ButtonApplyRHYscale", QStringLiteral("Apply"));
  ButtonSavgraphAmps = Named<QPushButton>("ButtonSavgraphAmps", QStringLiteral("Save plots"));
  GroupBoxRHScale = ScaleGroup("GroupBoxRHScale", QStringLiteral("Relative humidity settings"),
                               CheckBoxRHYScale, Label13, NumberEditAmpsMin, Label14,
                               NumberEditAmpsMax, ButtonApplyRHYscale, ButtonSavgraphAmps);

  connect(CheckBoxForceY, &QCheckBox::clicked, this,
          GuardedSlot(this, &PlotOptionsGroup::CheckBoxForceYClick));
  connect(ButtonApplyYTemp, &QPushButton::clicked, this,
          GuardedSlot(this, &PlotOptionsGroup::ButtonApplyYTempClick));
  connect(CheckBoxRHYScale, &QCheckBox::clicked, this,
          GuardedSlot(this, &PlotOptionsGroup::CheckBoxRHYScaleClick));
  connect(ButtonApplyRHYscale, &QPushButton::clicked, this,
          GuardedSlot(this, &PlotOptionsGroup::ButtonApplyRHYscaleClick));
  connect(ButtonGraphSAV, &QPushButton::clicked, this,
          GuardedSlot(this, &PlotOptionsGroup::ButtonGraphSAVClick));
  connect(ButtonSavgraphAmps, &QPushButton::clicked, this,
          GuardedSlot(this, &PlotOptionsGroup::ButtonSavgraphAmpsClick));

  auto* boxes = new QHBoxLayout;
  boxes->addWidget(CheckBoxLock_translate);
  boxes->addSpacing(12);
  boxes->addWidget(CheckBoxWholeWindow);
  boxes->addStretch(1);

  auto* scales = new QHBoxLayout;
  scales->addWidget(GroupBoxTempScale);
  scales->addWidget(GroupBoxRHScale);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(readingsArea);
  layout->addLayout(boxes);
  layout->addLayout(windowButtons);
  layout->addLayout(scales, 1);
}

void PlotOptionsGroup::PlaceReadings(QWidget* readings) {
  auto* layout = new QVBoxLayout(readingsArea);
  layout->setContentsMargins(0, 0, 0, 0);
  readings->setParent(readingsArea);
  layout->addWidget(readings);
}

bool PlotOptionsGroup::LockTranslate() const {
  return CheckBoxLock_translate->isChecked();
}

bool PlotOptionsGroup::WholeWindow() const {
  return CheckBoxWholeWindow->isChecked();
}

void PlotOptionsGroup::StartWholeWindow(bool on) {
  CheckBoxWholeWindow->setChecked(on);
}

PlotOptionsGroup::ForcedScale PlotOptionsGroup::Forced(TValueAxis axis) {
  if (axis == TValueAxis::Temp) {
    return {ChartKind::Temperatures, CheckBoxForceY, EditMinY_V, EditMaxY_V, Label1, Label2,
            ButtonApplyYTemp,        MinYTemp,       MaxYTemp};
  }
  return {ChartKind::RelativeHumidity, CheckBoxRHYScale, NumberEditAmpsMin,
          NumberEditAmpsMax,           Label13,          Label14,
          ButtonApplyRHYscale,         MinYRH,           MaxYRH};
}

void PlotOptionsGroup::ShowBoundFields(const ForcedScale& scale) {
  const bool shown = scale.box->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{scale.apply, scale.maxEdit, scale.maxLabel,
                                                    scale.minEdit, scale.minLabel}) {
    w->setVisible(shown);
  }
}

void PlotOptionsGroup::StartScale(TValueAxis axis, const TYScaleSetting& stored) {
  const ForcedScale scale = Forced(axis);
  scale.min = stored.min;
  scale.max = stored.max;
  scale.maxEdit->setText(OneDecimal(stored.max));
  scale.minEdit->setText(OneDecimal(stored.min));
  TValueAxisScale axisScale;
  scale.box->setChecked(ApplyStartScale(axis, stored, axisScale));
  charts_->SetScale(scale.chart, axisScale);
  ShowBoundFields(scale);
}

TYScaleSetting PlotOptionsGroup::Scale(TValueAxis axis) const {
  return axis == TValueAxis::Temp ? TYScaleSetting{CheckBoxForceY->isChecked(), MinYTemp, MaxYTemp}
                                  : TYScaleSetting{CheckBoxRHYScale->isChecked(), MinYRH, MaxYRH};
}

void PlotOptionsGroup::WindowButtonClick(const TWindowButton& button) {
  charts_->timeWindow().Press(button);
  charts_->ShowTimeFormats();
  charts_->SetTimeWindow(Now());
  if (button.rebuilds) {
    Q_EMIT refreshPlotsRequested();
  }
}

void PlotOptionsGroup::BitBtn1hClick() {
  WindowButtonClick(ButtonNamed(kWindowButtons, "BitBtn1h"));
}

void PlotOptionsGroup::BitBtn6hClick() {
  WindowButtonClick(ButtonNamed(kWindowButtons, "BitBtn6h"));
}

void PlotOptionsGroup::BitBtn_last12hClick() {
  WindowButtonClick(ButtonNamed(kWindowButtons, "BitBtn_last12h"));
}

void PlotOptionsGroup::BitBtn24hClick() {
  WindowButtonClick(ButtonNamed(kWindowButtons, "BitBtn24h"));
}

void PlotOptionsGroup::BitBtn3JClick() {
  WindowButtonClick(ButtonNamed(kWindowButtons, "BitBtn3J"));
}

void PlotOptionsGroup::BitBtn1sClick() {
  WindowButtonClick(ButtonNamed(kWindowButtons, "BitBtn1s"));
}

void PlotOptionsGroup::BitBtn1moisClick() {
  WindowButtonClick(ButtonNamed(kWindowButtons, "BitBtn1mois"));
}

void PlotOptionsGroup::BitBtn6moisClick() {
  WindowButtonClick(ButtonNamed(kWindowButtons, "BitBtn6mois"));
}

void PlotOptionsGroup::BitBtnZoomMClick() {
  charts_->ZoomOut();
  Q_EMIT refreshPlotsRequested();
}

void PlotOptionsGroup::ForceScaleClick(TValueAxis axis) {
  const ForcedScale scale = Forced(axis);
  // The bound fields follow the box even when the bounds are refused, so they can be mended.
  struct FollowBox {
    const ForcedScale& scale;
    ~FollowBox() { ShowBoundFields(scale); }
  } follow{scale};
  if (scale.box->isChecked()) {
    ApplyScaleClick(axis);
  } else {
    TValueAxisScale automatic = charts_->Scale(scale.chart);
    automatic.Automatic = true;
    charts_->SetScale(scale.chart, automatic);
  }
}

void PlotOptionsGroup::ApplyScaleClick(TValueAxis axis) {
  const ForcedScale scale = Forced(axis);
  scale.min = Bound(*scale.minEdit);
  scale.max = Bound(*scale.maxEdit);
  if (TSettingsFile* settings = charts_->settings()) {
    settings->WriteYBounds(axis, scale.min, scale.max);
  }
  TValueAxisScale axisScale = charts_->Scale(scale.chart);
  if (const auto refusal = ApplyForcedScale(axis, scale.min, scale.max, axisScale)) {
    ShowMessage(this, QString::fromStdString(refusal->message));
    scale.minEdit->setText(QString::fromStdString(refusal->minText));
    scale.maxEdit->setText(QString::fromStdString(refusal->maxText));
    return;
  }
  charts_->SetScale(scale.chart, axisScale);
}

void PlotOptionsGroup::CheckBoxForceYClick() {
  ForceScaleClick(TValueAxis::Temp);
}

void PlotOptionsGroup::ButtonApplyYTempClick() {
  ApplyScaleClick(TValueAxis::Temp);
}

void PlotOptionsGroup::CheckBoxRHYScaleClick() {
  ForceScaleClick(TValueAxis::RH);
}

void PlotOptionsGroup::ButtonApplyRHYscaleClick() {
  ApplyScaleClick(TValueAxis::RH);
}

void PlotOptionsGroup::ButtonGraphSAVClick() {
  SavePlot(ChartKind::Temperatures, "Temp.jpg");
}

void PlotOptionsGroup::ButtonSavgraphAmpsClick() {
  SavePlot(ChartKind::RelativeHumidity, "RH.jpg");
}

void PlotOptionsGroup::SavePlot(ChartKind kind, const char* name) {
  // The window goes on while the address is looked up; the image is made once it is known.
  charts_->LookUpAddress(this, [this, kind, name](const std::string& address) {
    Guarded(this, [&] { charts_->SaveChartImage(kind, charts_->ChemIMG() / name, 100, address); });
  });
}

void PlotOptionsGroup::CheckBoxWholeWindowClick() {
  if (TSettingsFile* settings = charts_->settings()) {
    settings->WriteWholeWindow(CheckBoxWholeWindow->isChecked());
  }
  Q_EMIT refreshPlotsRequested();
}

}  // namespace vesk
