#include "device/gui/humidity_setup_group.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "common/convert_error.h"
#include "common/number_text.h"
#include "station/station.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/named_control.h"
#include "widgets/gui/number_edit.h"

namespace vesk {

HumiditySetupGroup::HumiditySetupGroup(Station& station, QWidget* parent)
    : QGroupBox(QStringLiteral("External relative humidity setup"), parent), station_(station) {
  setObjectName(QStringLiteral("GroupBoxRHSetup"));
  using Kind = TNumberEdit::TTypeValue;

  LabelGainRH = Named<QLabel>("LabelGainRH", QStringLiteral("Gain (ADU/65535)"));
  NumberEditGainRH =
      Named<TNumberEdit>("NumberEditGainRH", Kind::Float, 0, 200, QStringLiteral("0"));
  LabelOffsetRH = Named<QLabel>("LabelOffsetRH", QStringLiteral("Offset (ADU/65535)"));
  NumberEditOffsetRH =
      Named<TNumberEdit>("NumberEditOffsetRH", Kind::Float, 0, 100, QStringLiteral("0"));
  ButtonAPPLY_T_RH_consts = Named<QPushButton>("ButtonAPPLY_T_RH_consts", QStringLiteral("Apply"));

  LabelGainRH->setBuddy(NumberEditGainRH);
  LabelOffsetRH->setBuddy(NumberEditOffsetRH);
  NumberEditGainRH->setFixedWidth(90);
  NumberEditOffsetRH->setFixedWidth(90);

  auto* grid = new QGridLayout(this);
  grid->addWidget(LabelGainRH, 0, 0);
  grid->addWidget(NumberEditGainRH, 0, 1);
  grid->addWidget(LabelOffsetRH, 1, 0);
  grid->addWidget(NumberEditOffsetRH, 1, 1);
  grid->setColumnStretch(2, 1);
  grid->addWidget(ButtonAPPLY_T_RH_consts, 1, 3);
  grid->setRowStretch(2, 1);

  connect(ButtonAPPLY_T_RH_consts, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { ButtonAPPLY_T_RH_constsClick(); }); });
}

void HumiditySetupGroup::ButtonAPPLY_T_RH_constsClick() {
  const double gain = FloatOfText(NumberEditGainRH->text().toStdString());
  const double offset = FloatOfText(NumberEditOffsetRH->text().toStdString());
  station_.SetHumidity({gain, offset});
}

void HumiditySetupGroup::ShowConstants(const HumidityConstants& constants) {
  NumberEditGainRH->setText(
      QString::fromStdString(FormatText("%1.5f", constants.HumiditySensorGain)));
  NumberEditOffsetRH->setText(
      QString::fromStdString(FormatText("%1.5f", constants.HumiditySensorOffset)));
}

}  // namespace vesk
