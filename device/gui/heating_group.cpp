#include "device/gui/heating_group.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <tuple>

#include "common/convert_error.h"
#include "common/number_text.h"
#include "device/threshold_values.h"
#include "station/station.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/named_control.h"
#include "widgets/gui/number_edit.h"

namespace vesk {

namespace {

// A "Current" value: the board's setting, read back, never typed.
QLineEdit* CurrentField(const char* name) {
  auto* field = Named<QLineEdit>(name, QStringLiteral("?"));
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  field->setFixedWidth(72);
  return field;
}

QLabel* Heading(const char* name, const QString& text) {
  auto* heading = BoldLabel(name, text);
  heading->setAlignment(Qt::AlignCenter);
  return heading;
}

}  // namespace

HeatingThresholdsGroup::HeatingThresholdsGroup(Station& station, QWidget* parent)
    : QGroupBox(QStringLiteral("Dome heating thresholds"), parent), station_(station) {
  setObjectName(QStringLiteral("GroupBoxHeatThresholds"));
  using Kind = TNumberEdit::TTypeValue;

  LabelTempSeuilCaption =
      Named<QLabel>("LabelTempSeuilCaption", QStringLiteral("Temperature threshold (°C)"));
  NumberEditTemp_Seuil =
      Named<TNumberEdit>("NumberEditTemp_Seuil", Kind::Float, -100, 100, QStringLiteral("0"));
  Label_TempSeuil = CurrentField("Label_TempSeuil");

  LabelRHSeuilCaption =
      Named<QLabel>("LabelRHSeuilCaption", QStringLiteral("Humidity threshold (%RH)"));
  NumberEditRH_seuil =
      Named<TNumberEdit>("NumberEditRH_seuil", Kind::Float, 0, 100, QStringLiteral("0"));
  Label_RHSeuil = CurrentField("Label_RHSeuil");

  LabelPowerCaption = Named<QLabel>("LabelPowerCaption", QStringLiteral("Power Max (%)"));
  NumberEditPower_Level =
      Named<TNumberEdit>("NumberEditPower_Level", Kind::Int, 1, 100, QStringLiteral("0"));
  Label_PowerMax = CurrentField("Label_PowerMax");

  ButtonUpdateSetup = Named<QPushButton>("ButtonUpdateSetup", QStringLiteral("Update into device"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(Heading("LabelNewVal", QStringLiteral("New val.")), 0, 1);
  grid->addWidget(Heading("LabelCurrent", QStringLiteral("Current")), 0, 2);
  int row = 1;
  for (auto [caption, edit, current] :
       {std::tuple{LabelTempSeuilCaption, NumberEditTemp_Seuil, Label_TempSeuil},
        std::tuple{LabelRHSeuilCaption, NumberEditRH_seuil, Label_RHSeuil},
        std::tuple{LabelPowerCaption, NumberEditPower_Level, Label_PowerMax}}) {
    edit->setFixedWidth(72);
    caption->setBuddy(edit);
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(current, row, 2);
    ++row;
  }
  grid->setRowStretch(row++, 1);
  grid->addWidget(ButtonUpdateSetup, row, 1, 1, 2);
  grid->setColumnStretch(0, 1);

  connect(ButtonUpdateSetup, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { ButtonUpdateSetupClick(); }); });
}

void HeatingThresholdsGroup::ButtonUpdateSetupClick() {
  const std::uint8_t power =
      PowerLevelByte(IntegerOfText(NumberEditPower_Level->text().toStdString()));
  const HeatingThresholds thresholds{
      TemperatureThresholdWord(FloatOfText(NumberEditTemp_Seuil->text().toStdString())),
      HumidityThresholdWord(FloatOfText(NumberEditRH_seuil->text().toStdString()),
                            station_.Humidity())};
  NumberEditTemp_Seuil->setToolTip(QString::number(thresholds.gSeuil_Temp_asWord));
  NumberEditRH_seuil->setToolTip(QString::number(thresholds.gSeuil_RH_asWord));
  // The automatic flag stays the one held: this button does not change it.
  station_.UpdateSetup({thresholds, station_.Heating().gAutoTempRH_Heat, power});
  Q_EMIT pollRequested();
}

void HeatingThresholdsGroup::ShowThresholds(const HeatingThresholdTexts& texts) {
  Label_TempSeuil->setToolTip(QString::fromStdString(texts.Label_TempSeuilHint));
  Label_RHSeuil->setToolTip(QString::fromStdString(texts.Label_RHSeuilHint));
  Label_TempSeuil->setText(QString::fromStdString(texts.Label_TempSeuil));
  Label_RHSeuil->setText(QString::fromStdString(texts.Label_RHSeuil));
}

void HeatingThresholdsGroup::ShowPowerLevel(int percent) {
  Label_PowerMax->setText(QString::fromStdString(FormatText("%d %%", percent)));
}

void HeatingThresholdsGroup::StartFromCurrentValues() {
  NumberEditTemp_Seuil->setText(
      Label_TempSeuil->text().remove(QStringLiteral("°C"), Qt::CaseInsensitive).trimmed());
  NumberEditRH_seuil->setText(Label_RHSeuil->text().remove(QLatin1Char('%')).trimmed());
  NumberEditPower_Level->setText(Label_PowerMax->text().remove(QLatin1Char('%')).trimmed());
}

}  // namespace vesk
