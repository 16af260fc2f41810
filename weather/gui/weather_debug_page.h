#pragma once

#include <QWidget>

#include <array>
#include <utility>

#include "weather/weather_readout.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace vesk {

class Station;

// The "Debug and Test Astel WEATHER" page: on demand, every raw word of the weather module's
// reply beside its value in physical units, and the ADC status. The exchange goes through the
// station; its errors are left to the default error handler.
class WeatherDebugPage : public QWidget {
  Q_OBJECT

 public:
  explicit WeatherDebugPage(Station& station, QWidget* parent = nullptr);

  static QString caption();

  // "Get Data": one REQ_GET_DATAEXT exchange, every row written in order. A reply too short
  // for a row raises its error once the rows before it are shown; the later rows and the
  // status keep their texts.
  void ButtonExtDatasClick();

 private:
  void ShowRow(std::size_t row, const TWeatherRow& texts);
  void ShowStatus(const TADCStatus& status);

  Station& station_;
  // Raw and value field of each row, in kWeatherRowCaptions' order.
  std::array<std::pair<QLabel*, QLabel*>, kWeatherRowCount> rowFields_{};

  QPushButton* ButtonExtDatas;
  QLabel* LabelSayADCStatus;
  QLabel* LabelADCStatus;

  // One row per quantity: caption, raw word (binary, hexadecimal, decimal), value.
  QGroupBox* GroupBoxMax1254;
  QLabel* LabelRowPressure;
  QLabel* StaticTextBin_Pressure;
  QLabel* StaticTextTrueValuePressure;
  QLabel* LabelRowADCTest;
  QLabel* StaticTextBinADCTest;
  QLabel* StaticTextADCTestval;
  QLabel* LabelRowADCTemp;
  QLabel* StaticTextBinADCTemp;
  QLabel* StaticTextAdcTempVal;
  QLabel* LabelRowTempExt;
  QLabel* StaticTextBinTempExt;
  QLabel* StaticTextTempExtVal;
  QLabel* LabelRowRH;
  QLabel* StaticTextBinRH;
  QLabel* StaticTextRHExtVal;
  QLabel* LabelRowWindSpeed;
  QLabel* StaticTextWindSpeedBin;
  QLabel* StaticTextWindSpeedTrueValue;
  QLabel* LabelRowWinDir;
  QLabel* StaticTextWinDirBin;
  QLabel* StaticTextWindirTrueVal;
  QLabel* LabelRowTempSeuil;
  QLabel* StaticTextBinTempSeuil;
  QLabel* StaticTextTrueValTempSeuil;
  QLabel* LabelRowRHSeuil;
  QLabel* StaticTextBinRHSeuil;
  QLabel* StaticTextTrueRHSeuil;
};

}  // namespace vesk
