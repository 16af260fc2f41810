#include "plots/gui/plot_options_group.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/number_text.h"
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

}  // namespace

PlotOptionsGroup::PlotOptionsGroup(QWidget* parent) : QGroupBox(QStringLiteral("Plots"), parent) {
  setObjectName(QStringLiteral("GroupBoxPlotOptions"));
  using Kind = TNumberEdit::TTypeValue;

  readingsArea = Named<QWidget>("readingsArea");

  CheckBoxLock_translate =
      Named<QCheckBox>("CheckBoxLock_translate",
                       QStringLiteral("Lock X axis (plot will translate when new data comes)"));
  CheckBoxLock_translate->setChecked(true);

  BitBtnZoomM = WindowButton("BitBtnZoomM", QStringLiteral("-"),
                             QStringLiteral("Réduit de 50% (X et Y) le graphique"));
  BitBtn1h =
      WindowButton("BitBtn1h", QStringLiteral("1h"), QStringLiteral("Montrer la derniere heure"));
  BitBtn6h =
      WindowButton("BitBtn6h", QStringLiteral("6h"), QStringLiteral("Montrer les dernieres 6h"));
  BitBtn_last12h = WindowButton("BitBtn_last12h", QStringLiteral("12h"),
                                QStringLiteral("Montrer les dernieres 12h"));
  BitBtn24h =
      WindowButton("BitBtn24h", QStringLiteral("24h"), QStringLiteral("Montrer les dernieres 24h"));
  BitBtn3J = WindowButton("BitBtn3J", QStringLiteral("3J"),
                          QStringLiteral("Montrer les derniers 3 jours"));
  BitBtn1s =
      WindowButton("BitBtn1s", QStringLiteral("1s"), QStringLiteral("Montrer la derniere semaine"));
  BitBtn1mois =
      WindowButton("BitBtn1mois", QStringLiteral("1M"), QStringLiteral("Montrer le dernier mois"));
  BitBtn6mois = WindowButton("BitBtn6mois", QStringLiteral("6M"),
                             QStringLiteral("Montrer les derniers 6 mois"));

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

  auto* windowButtons = new QHBoxLayout;
  windowButtons->setSpacing(3);
  for (QPushButton* button : {BitBtnZoomM, BitBtn1h, BitBtn6h, BitBtn_last12h, BitBtn24h, BitBtn3J,
                              BitBtn1s, BitBtn1mois, BitBtn6mois}) {
    windowButtons->addWidget(button);
  }
  windowButtons->addStretch(1);

  auto* scales = new QHBoxLayout;
  scales->addWidget(GroupBoxTempScale);
  scales->addWidget(GroupBoxRHScale);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(readingsArea);
  layout->addWidget(CheckBoxLock_translate);
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

namespace {

QString OneDecimal(double value) {
  return QString::fromStdString(FormatText("%1.1f", value));
}

// The box, the bounds with one decimal, and the bound fields shown only while forced.
void ShowScale(const TYScaleSetting& scale, QCheckBox* box, TNumberEdit* minEdit,
               TNumberEdit* maxEdit, std::initializer_list<QWidget*> boundFields) {
  box->setChecked(scale.fixed);
  maxEdit->setText(OneDecimal(scale.max));
  minEdit->setText(OneDecimal(scale.min));
  for (QWidget* w : boundFields) {
    w->setVisible(scale.fixed);
  }
}

}  // namespace

void PlotOptionsGroup::ShowTempScale(const TYScaleSetting& scale) {
  ShowScale(scale, CheckBoxForceY, EditMinY_V, EditMaxY_V,
            {ButtonApplyYTemp, EditMaxY_V, Label2, EditMinY_V, Label1});
}

void PlotOptionsGroup::ShowRHScale(const TYScaleSetting& scale) {
  ShowScale(scale, CheckBoxRHYScale, NumberEditAmpsMin, NumberEditAmpsMax,
            {ButtonApplyRHYscale, NumberEditAmpsMin, Label13, NumberEditAmpsMax, Label14});
}

bool PlotOptionsGroup::ForceY() const {
  return CheckBoxForceY->isChecked();
}

bool PlotOptionsGroup::RHYScale() const {
  return CheckBoxRHYScale->isChecked();
}

}  // namespace vesk
