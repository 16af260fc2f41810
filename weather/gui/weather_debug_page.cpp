#include "weather/gui/weather_debug_page.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/gui/named_control.h"

namespace vesk {

namespace {

// Raw and value fields start as a single blank and are framed like read-only fields.
QLabel* Field(const char* name) {
  auto* field = Named<QLabel>(name, QStringLiteral(" "));
  field->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  field->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return field;
}

}  // namespace

WeatherDebugPage::WeatherDebugPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheetDebugWeatherExt"));

  ButtonExtDatas = Named<QPushButton>("ButtonExtDatas", QStringLiteral("Get Data"));
  LabelSayADCStatus = Named<QLabel>("LabelSayADCStatus", QStringLiteral("ADC Status :  "));
  LabelADCStatus = BoldLabel("LabelADCStatus", QStringLiteral("???"));

  struct Row {
    QLabel*& caption;
    QLabel*& raw;
    QLabel*& value;
    const char* captionName;
    QString text;
    const char* rawName;
    const char* valueName;
  };
  const Row rows[] = {
      {LabelRowPressure, StaticTextBin_Pressure, StaticTextTrueValuePressure, "LabelRowPressure",
       QStringLiteral(" Pressure Sensor"), "StaticTextBin_Pressure", "StaticTextTrueValuePressure"},
      {LabelRowADCTest, StaticTextBinADCTest, StaticTextADCTestval, "LabelRowADCTest",
       QStringLiteral(" 2.5V ADC tests"), "StaticTextBinADCTest", "StaticTextADCTestval"},
      {LabelRowADCTemp, StaticTextBinADCTemp, StaticTextAdcTempVal, "LabelRowADCTemp",
       QStringLiteral(" ADC temperature"), "StaticTextBinADCTemp", "StaticTextAdcTempVal"},
      {LabelRowTempExt, StaticTextBinTempExt, StaticTextTempExtVal, "LabelRowTempExt",
       QStringLiteral(" External Temperature"), "StaticTextBinTempExt", "StaticTextTempExtVal"},
      {LabelRowRH, StaticTextBinRH, StaticTextRHExtVal, "LabelRowRH",
       QStringLiteral(" External RH"), "StaticTextBinRH", "StaticTextRHExtVal"},
      {LabelRowWindSpeed, StaticTextWindSpeedBin, StaticTextWindSpeedTrueValue, "LabelRowWindSpeed",
       QStringLiteral(" Wind Speed"), "StaticTextWindSpeedBin", "StaticTextWindSpeedTrueValue"},
      {LabelRowWinDir, StaticTextWinDirBin, StaticTextWindirTrueVal, "LabelRowWinDir",
       QStringLiteral(" Wind Direction"), "StaticTextWinDirBin", "StaticTextWindirTrueVal"},
      {LabelRowTempSeuil, StaticTextBinTempSeuil, StaticTextTrueValTempSeuil, "LabelRowTempSeuil",
       QStringLiteral(" Temp. Thr. Comp."), "StaticTextBinTempSeuil", "StaticTextTrueValTempSeuil"},
      {LabelRowRHSeuil, StaticTextBinRHSeuil, StaticTextTrueRHSeuil, "LabelRowRHSeuil",
       QStringLiteral(" RH. Thr. Comp."), "StaticTextBinRHSeuil", "StaticTextTrueRHSeuil"},
  };

  // The binary digits of the raw words line up only in a fixed-pitch font.
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

  GroupBoxMax1254 = Named<QGroupBox>("GroupBoxMax1254", QStringLiteral("MAX 1254"));
  auto* grid = new QGridLayout(GroupBoxMax1254);
  grid->setVerticalSpacing(4);
  int line = 0;
  for (const Row& row : rows) {
    row.caption = Named<QLabel>(row.captionName, row.text);
    row.raw = Field(row.rawName);
    row.raw->setFont(fixed);
    row.value = Field(row.valueName);
    row.value->setFont(LabelADCStatus->font());  // the values stand out in bold
    grid->addWidget(row.caption, line, 0);
    grid->addWidget(row.raw, line, 1);
    grid->addWidget(row.value, line, 2);
    ++line;
  }
  // Room for the widest raw text: 24 binary characters, 5 blanks, 0xFFFF, 3 blanks, 65535.
  grid->setColumnMinimumWidth(1, QFontMetrics(fixed).horizontalAdvance(QString(43, u'0')) + 8);
  grid->setColumnStretch(2, 1);

  auto* top = new QHBoxLayout;
  top->addWidget(ButtonExtDatas);
  top->addSpacing(24);
  top->addWidget(LabelSayADCStatus);
  top->addWidget(LabelADCStatus);
  top->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(GroupBoxMax1254);
  layout->addStretch(1);
}

QString WeatherDebugPage::caption() {
  return QStringLiteral("Debug and Test Astel WEATHER");
}

}  // namespace vesk
