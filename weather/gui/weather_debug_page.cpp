#include "weather/gui/weather_debug_page.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

#include "station/station.h"
#include "widgets/gui/named_control.h"
#include "widgets/gui/guarded.h"

namespace vesk {

namespace {

// Raw and value fields start as a single blank and are framed like read-only fields.
QLabel* Field(const char* name) {
  auto* field = Named<QLabel>(name, QStringLiteral(" "));
  field->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  field->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return field;
}

void SetTextColor(QLabel& label, Qt::GlobalColor color) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, color);
  label.setPalette(palette);
}

}  // namespace

WeatherDebugPage::WeatherDebugPage(Station& station, QWidget* parent)
    : QWidget(parent), station_(station) {
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
  static_assert(std::size(rows) == kWeatherRowCount);
  for (const Row& row : rows) {
    row.caption = Named<QLabel>(row.captionName, row.text);
    row.raw = Field(row.rawName);
    row.raw->setFont(fixed);
    row.value = Field(row.valueName);
    row.value->setFont(LabelADCStatus->font());  // the values stand out in bold
    grid->addWidget(row.caption, line, 0);
    grid->addWidget(row.raw, line, 1);
    grid->addWidget(row.value, line, 2);
    rowFields_[line] = {row.raw, row.value};
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
  connect(ButtonExtDatas, &QPushButton::clicked, this, [this] { Guarded(this, [this] { ButtonExtDatasClick(); }); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(GroupBoxMax1254);
  layout->addStretch(1);
}

QString WeatherDebugPage::caption() {
  return QStringLiteral("Debug and Test Astel WEATHER");
}

void WeatherDebugPage::ButtonExtDatasClick() {
  const TWeatherReadout readout = station_.GetExtDatas();
  for (std::size_t row = 0; row < readout.rows.size(); ++row) {
    ShowRow(row, readout.rows[row]);
  }
  if (readout.status) {
    ShowStatus(*readout.status);
  }
  if (readout.error) {
    std::rethrow_exception(readout.error);
  }
}

void WeatherDebugPage::ShowRow(std::size_t row, const TWeatherRow& texts) {
  auto [raw, value] = rowFields_[row];
  raw->setText(QString::fromStdString(texts.raw));
  value->setText(QString::fromStdString(texts.value));
  SetTextColor(*value, texts.red ? Qt::red : Qt::black);
}

void WeatherDebugPage::ShowStatus(const TADCStatus& status) {
  LabelADCStatus->setText(QString::fromStdString(status.text));
  if (status.red) {
    SetTextColor(*LabelADCStatus, *status.red ? Qt::red : Qt::black);
  }
}

}  // namespace vesk
