#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace vesk {

// The "Debug and Test Astel WEATHER" page: on demand, every raw word of the weather module's
// reply beside its value in physical units, and the ADC status.
class WeatherDebugPage : public QWidget {
  Q_OBJECT

 public:
  explicit WeatherDebugPage(QWidget* parent = nullptr);

  static QString caption();

 private:
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
