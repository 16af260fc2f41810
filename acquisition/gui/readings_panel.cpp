#include "acquisition/gui/readings_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/number_text.h"

namespace vesk {
namespace {

QLabel* NamedLabel(const char* name, const std::string& text, QWidget* parent) {
  auto* label = new QLabel(QString::fromStdString(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

QLabel* Caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

void MakeLarge(QLabel* label, int pointSize) {
  QFont font = label->font();
  font.setPointSize(pointSize);
  font.setBold(true);
  label->setFont(font);
  label->setMinimumWidth(130);
}

}  // namespace

ReadingsPanel::ReadingsPanel(QWidget* parent) : QGroupBox(parent) {
  setObjectName(QStringLiteral("GroupBoxDisplays"));
  const ReadingsTexts initial = InitialReadings();
  LabelTemp = NamedLabel("LabelTemp", initial.LabelTemp, this);
  LabelRH = NamedLabel("LabelRH", initial.LabelRH, this);
  LabelPR = NamedLabel("LabelPR", initial.LabelPR, this);
  LabeltempInsideCamera = NamedLabel("LabeltempInsideCamera", initial.LabeltempInsideCamera, this);
  MakeLarge(LabelTemp, 20);
  MakeLarge(LabelRH, 20);
  MakeLarge(LabelPR, 14);
  MakeLarge(LabeltempInsideCamera, 14);

  ShapeHeating = new Lamp(this);
  ShapeHeating->setObjectName(QStringLiteral("ShapeHeating"));
  ShapeAutoHeat = new Lamp(this);
  ShapeAutoHeat->setObjectName(QStringLiteral("ShapeAutoHeat"));
  LabelVer = NamedLabel("LabelVer", "", this);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(6);
  // In the order of kReadingCaptions.
  QLabel* const values[] = {LabelTemp, LabelRH, LabelPR, LabeltempInsideCamera};
  int row = 0;
  for (const ReadingCaption& caption : kReadingCaptions) {
    grid->addWidget(Caption(QString::fromUtf8(caption.caption), this), row, 0);
    grid->addWidget(values[row], row, 1);
    ++row;
  }

  auto* lamps = new QHBoxLayout;
  lamps->setSpacing(6);
  lamps->addWidget(ShapeHeating);
  lamps->addWidget(new QLabel(QString::fromUtf8(kHeatingLampCaption), this));
  lamps->addSpacing(16);
  lamps->addWidget(ShapeAutoHeat);
  lamps->addWidget(new QLabel(QString::fromUtf8(kAutoHeatLampCaption), this));
  lamps->addStretch(1);

  auto* column = new QVBoxLayout(this);
  column->addLayout(grid);
  column->addStretch(1);
  column->addLayout(lamps);
  column->addWidget(LabelVer);
}

SecondaryReadings::SecondaryReadings(QWidget* parent) : QWidget(parent) {
  const ReadingsTexts initial = InitialReadings();
  LabelTempHotSide = NamedLabel("LabelTempHotSide", initial.LabelTempHotSide, this);
  LabelRH_Inside = NamedLabel("LabelRH_Inside", initial.LabelRH_Inside, this);
  LabelPressure = NamedLabel("LabelPressure", initial.LabelPressure, this);
  LabelWind = NamedLabel("LabelWind", initial.LabelWind, this);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(4);
  for (QLabel* label : {LabelTempHotSide, LabelRH_Inside, LabelPressure, LabelWind}) {
    column->addWidget(label);
  }
}

void ReadingsPanel::ShowUpdatePeriod(int seconds) {
  setTitle(QString::fromStdString(FormatText("Parameters (Updated each %ds)", seconds)));
}

void ReadingsPanel::ShowVersion(const std::string& text) {
  LabelVer->setText(QString::fromStdString(text));
}

void ReadingsPanel::ShowHeating(bool heaterOn, bool autoHeat, int powerLevel) {
  ShapeHeating->setOn(heaterOn);
  ShapeHeating->setToolTip(QString::fromStdString(HeatingHint(heaterOn, powerLevel)));
  ShapeAutoHeat->setOn(autoHeat);
}

void ReadingsPanel::ShowReadings(const ReadingsTexts& texts) {
  QPalette black = LabelTemp->palette();
  black.setColor(QPalette::WindowText, Qt::black);
  LabelTemp->setPalette(black);
  LabelRH->setPalette(black);
  LabelTemp->setText(QString::fromStdString(texts.LabelTemp));
  LabeltempInsideCamera->setText(QString::fromStdString(texts.LabeltempInsideCamera));
  LabelRH->setText(QString::fromStdString(texts.LabelRH));
  LabelPR->setText(QString::fromStdString(texts.LabelPR));
}

void ReadingsPanel::ResetReadings(const ReadingsTexts& placeholders) {
  LabelTemp->setText(QString::fromStdString(placeholders.LabelTemp));
  LabelRH->setText(QString::fromStdString(placeholders.LabelRH));
  LabeltempInsideCamera->setText(QString::fromStdString(placeholders.LabeltempInsideCamera));
}

void SecondaryReadings::ShowFeatures(bool hotSide, bool insideRH) {
  LabelTempHotSide->setVisible(hotSide);
  LabelRH_Inside->setVisible(insideRH);
}

void SecondaryReadings::ShowReadings(const ReadingsTexts& texts, bool hotSide, bool insideRH,
                                     bool weather) {
  if (hotSide) {
    LabelTempHotSide->setText(QString::fromStdString(texts.LabelTempHotSide));
  }
  LabelPressure->setVisible(weather);
  LabelWind->setVisible(weather);
  if (weather) {
    LabelPressure->setText(QString::fromStdString(texts.LabelPressure));
    LabelWind->setText(QString::fromStdString(texts.LabelWind));
  }
  if (insideRH) {
    LabelRH_Inside->setText(QString::fromStdString(texts.LabelRH_Inside));
  }
}

void SecondaryReadings::ResetReadings(const ReadingsTexts& placeholders) {
  LabelTempHotSide->setText(QString::fromStdString(placeholders.LabelTempHotSide));
  LabelRH_Inside->setText(QString::fromStdString(placeholders.LabelRH_Inside));
  LabelPressure->setText(QString::fromStdString(placeholders.LabelPressure));
  LabelWind->setText(QString::fromStdString(placeholders.LabelWind));
}

}  // namespace vesk
