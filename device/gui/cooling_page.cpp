#include "device/gui/cooling_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <exception>

#include "common/datetime.h"
#include "common/number_text.h"
#include "station/station.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/named_control.h"

namespace vesk {

namespace {

QLabel* Reading(const char* name, const QString& text) {
  auto* label = BoldLabel(name, text);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * 2);  // the readings stand out from their captions
  label->setFont(font);
  return label;
}

}  // namespace

CoolingPage::CoolingPage(Station& station, QWidget* parent) : QWidget(parent), station_(station) {
  setObjectName(QStringLiteral("TabSheetCCDCool"));

  GroupBoxCoolDirect = Named<QGroupBox>("GroupBoxCoolDirect", QStringLiteral("Mode d'opération"));
  CheckBoxCOOLINGManual =
      Named<QCheckBox>("CheckBoxCOOLINGManual", QStringLiteral("Activer le refoidissement MANUEL"));
  CheckBoxAutoCool =
      Named<QCheckBox>("CheckBoxAutoCool", QStringLiteral("Activer le refoidissement AUTOMATIQUE"));
  auto* modes = new QVBoxLayout(GroupBoxCoolDirect);
  modes->addWidget(CheckBoxCOOLINGManual);
  modes->addWidget(CheckBoxAutoCool);
  modes->addStretch(1);
  GroupBoxCoolDirect->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
  GroupBoxCoolDirect->hide();

  GroupBoxCoolSensors = Named<QGroupBox>("GroupBoxCoolSensors", QStringLiteral("Camera"));
  LabelSayTempHOT = Named<QLabel>("LabelSayTempHOT", QStringLiteral("Hot side temperature :"));
  LabelTempHOT = Reading("LabelTempHOT", QStringLiteral("??.? °C"));
  LabelSayRH_int = Named<QLabel>("LabelSayRH_int", QStringLiteral("Inside humidity :"));
  LabelRH_int = Reading("LabelRH_int", QStringLiteral("??.? %"));
  LabelSayJour = Named<QLabel>("LabelSayJour", QStringLiteral("Day :"));
  LabelJour = BoldLabel("LabelJour", QStringLiteral("?"));
  LabelSayCooling = Named<QLabel>("LabelSayCooling", QStringLiteral("Cooling :"));
  LabelCoolingEnabled = BoldLabel("LabelCoolingEnabled", QStringLiteral("?"));
  LabelSayFan = Named<QLabel>("LabelSayFan", QStringLiteral("Fan :"));
  LabelFanEnabled = BoldLabel("LabelFanEnabled", QStringLiteral("?"));
  LabelSpeedfan = Named<QLabel>("LabelSpeedfan");

  auto* sensors = new QGridLayout(GroupBoxCoolSensors);
  sensors->addWidget(LabelSayTempHOT, 0, 0);
  sensors->addWidget(LabelTempHOT, 0, 1, 1, 2);
  sensors->addWidget(LabelSayRH_int, 1, 0);
  sensors->addWidget(LabelRH_int, 1, 1, 1, 2);
  sensors->setRowMinimumHeight(2, 8);
  sensors->addWidget(LabelSayJour, 3, 0);
  sensors->addWidget(LabelJour, 3, 1);
  sensors->addWidget(LabelSayCooling, 4, 0);
  sensors->addWidget(LabelCoolingEnabled, 4, 1);
  sensors->addWidget(LabelSayFan, 5, 0);
  sensors->addWidget(LabelFanEnabled, 5, 1);
  sensors->addWidget(LabelSpeedfan, 5, 2);
  sensors->setColumnStretch(2, 1);

  GroupBoxCoolState = Named<QGroupBox>("GroupBoxCoolState", QStringLiteral("Refroidissement"));
  LabelSayModeCooling = Named<QLabel>("LabelSayModeCooling", QStringLiteral("Mode "));
  StaticTextModeCooling = BoldLabel("StaticTextModeCooling", QStringLiteral("?"));
  LabelSayCoolingState =
      Named<QLabel>("LabelSayCoolingState", QStringLiteral("Etat refroidissement "));
  StaticTextCoolingState = BoldLabel("StaticTextCoolingState", QStringLiteral("?"));
  LabelSayStartCauseCool =
      Named<QLabel>("LabelSayStartCauseCool", QStringLiteral("Dernier marche/arrêt "));
  StaticTextStartCauseCool = BoldLabel("StaticTextStartCauseCool", QStringLiteral("?"));
  LabelSayStopCause = Named<QLabel>("LabelSayStopCause", QStringLiteral("Arrêt du à "));
  LabelSayStopDay = Named<QLabel>("LabelSayStopDay", QStringLiteral("Jour"));
  LabelSayStopHot = Named<QLabel>("LabelSayStopHot", QStringLiteral("Chaleur"));
  LabelSayTooWet = Named<QLabel>("LabelSayTooWet", QStringLiteral("Humidité"));
  StaticTextStopDay = BoldLabel("StaticTextStopDay", QStringLiteral("?"));
  StaticTextStopHot = BoldLabel("StaticTextStopHot", QStringLiteral("?"));
  StaticTextTooWet = BoldLabel("StaticTextTooWet", QStringLiteral("?"));

  auto* state = new QGridLayout(GroupBoxCoolState);
  state->addWidget(LabelSayModeCooling, 0, 0);
  state->addWidget(StaticTextModeCooling, 0, 1, 1, 3);
  state->addWidget(LabelSayCoolingState, 1, 0);
  state->addWidget(StaticTextCoolingState, 1, 1, 1, 3);
  state->addWidget(LabelSayStartCauseCool, 2, 0);
  state->addWidget(StaticTextStartCauseCool, 2, 1, 1, 3);
  state->setRowMinimumHeight(3, 8);
  state->addWidget(LabelSayStopCause, 4, 0);
  int column = 1;
  for (auto [heading, cause] : {std::pair{LabelSayStopDay, StaticTextStopDay},
                                std::pair{LabelSayStopHot, StaticTextStopHot},
                                std::pair{LabelSayTooWet, StaticTextTooWet}}) {
    state->addWidget(heading, 4, column, Qt::AlignHCenter);
    state->addWidget(cause, 5, column, Qt::AlignHCenter);
    state->setColumnMinimumWidth(column, 70);
    ++column;
  }
  state->setColumnStretch(4, 1);

  auto* groups = new QHBoxLayout;
  groups->addWidget(GroupBoxCoolDirect);
  groups->addWidget(GroupBoxCoolSensors, 1);
  groups->addWidget(GroupBoxCoolState, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addStretch(1);

  connect(CheckBoxCOOLINGManual, &QCheckBox::clicked, this,
          [this] { Guarded(this, [this] { CheckBoxCOOLINGManualClick(); }); });
  connect(CheckBoxAutoCool, &QCheckBox::clicked, this,
          [this] { Guarded(this, [this] { CheckBoxAutoCoolClick(); }); });
}

void CoolingPage::CheckBoxCOOLINGManualClick() {
  SwitchMode(CheckBoxCOOLINGManual, CheckBoxAutoCool, &Station::SetManualCooler);
}

void CoolingPage::CheckBoxAutoCoolClick() {
  SwitchMode(CheckBoxAutoCool, CheckBoxCOOLINGManual, &Station::SetAutoCooler);
}

void CoolingPage::SwitchMode(QCheckBox* clicked, QCheckBox* other, void (Station::*order)(bool)) {
  if (!station_.Connected()) {
    return;
  }
  try {
    (station_.*order)(clicked->isChecked());
    Q_EMIT pollRequested();
    // Read after the poll, which may have set the box to the board's mode.
    other->setEnabled(!clicked->isChecked());
  } catch (const std::exception&) {
    const QSignalBlocker block(clicked);
    clicked->setChecked(!clicked->isChecked());
  }
}

QString CoolingPage::caption() {
  return QStringLiteral("Sensor cooling");
}

void CoolingPage::ShowModel(bool fullCooling) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           LabelSayJour, LabelJour, LabelSayCooling, LabelCoolingEnabled, LabelSayFan,
           LabelFanEnabled, LabelSpeedfan, GroupBoxCoolDirect}) {
    w->setVisible(fullCooling);
  }
}

void CoolingPage::ShowReadings(const ReadingsTexts& texts, const TDataOUT& out) {
  LabelTempHOT->setText(QString::fromStdString(texts.LabelTempHOT));
  const auto yesNo = [](bool on) { return on ? QStringLiteral("Yes") : QStringLiteral("No"); };
  LabelJour->setText(yesNo(out.StatusSensor & 0x01));
  LabelCoolingEnabled->setText(yesNo(out.StatusSensor & 0x02));
  LabelFanEnabled->setText(yesNo(out.StatusSensor & 0x04));
  LabelSpeedfan->setText(QString::fromStdString(FormatText("  (%d)", out.ValueFan)));
  ApplyCooling(out);
}

void CoolingPage::ApplyCooling(const TDataOUT& out) {
  // Changing the boxes here must not send anything to the board.
  const QSignalBlocker blockAuto(CheckBoxAutoCool);
  const QSignalBlocker blockManual(CheckBoxCOOLINGManual);
  TstateCoolCCD state = out.StateCCDCool;
  const CoolingTexts texts = PresentCooling(out.StatusCooler, Now(), state, PreviousStateCCDCool);
  if (texts.autoMode) {
    const bool automatic = *texts.autoMode;
    CheckBoxAutoCool->setChecked(automatic);
    CheckBoxAutoCool->setEnabled(automatic);
    CheckBoxCOOLINGManual->setChecked(!automatic);
    CheckBoxCOOLINGManual->setEnabled(!automatic);
  }
  const auto show = [](QLabel* label, const std::string& text) {
    label->setText(QString::fromStdString(text));
  };
  show(StaticTextModeCooling, texts.StaticTextModeCooling);
  show(StaticTextCoolingState, texts.StaticTextCoolingState);
  if (texts.StaticTextStartCauseCool) {
    show(StaticTextStartCauseCool, *texts.StaticTextStartCauseCool);
    show(StaticTextStopDay, *texts.StaticTextStopDay);
    show(StaticTextStopHot, *texts.StaticTextStopHot);
    show(StaticTextTooWet, *texts.StaticTextTooWet);
  }
}

void CoolingPage::ShowInsideHumidity(const ReadingsTexts& texts) {
  LabelRH_int->setText(QString::fromStdString(texts.LabelRH_int));
}

void CoolingPage::ResetReadings(const ReadingsTexts& placeholders) {
  LabelTempHOT->setText(QString::fromStdString(placeholders.LabelTempHOT));
  LabelRH_int->setText(QString::fromStdString(placeholders.LabelRH_int));
}

}  // namespace vesk
