#pragma once

#include <QGroupBox>
#include <QLabel>

#include "acquisition/readings_text.h"
#include "widgets/gui/lamp.h"

namespace vesk {

// GroupBoxDisplays: the large readings, the heating lamps and the firmware label.
class ReadingsPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit ReadingsPanel(QWidget* parent = nullptr);

  // "Parameters (Updated each 10s)"
  void ShowUpdatePeriod(int seconds);
  // The firmware version text of the connection.
  void ShowVersion(const std::string& text);
  // The two lamps: the heater (its hint the power level) and automatic heating.
  void ShowHeating(bool heaterOn, bool autoHeat, int powerLevel);
  // A poll's readings, in black.
  void ShowReadings(const ReadingsTexts& texts);
  // The placeholders of a failed poll.
  void ResetReadings(const ReadingsTexts& placeholders);
  // The outside temperature as LabelTemp shows it (the chart images' caption).
  QString TemperatureText() const { return LabelTemp->text(); }

 private:
  QLabel* LabelTemp;
  QLabel* LabelRH;
  QLabel* LabelPR;
  QLabel* LabeltempInsideCamera;
  Lamp* ShapeHeating;
  Lamp* ShapeAutoHeat;
  QLabel* LabelVer;
};

// The secondary readings beside the plot options: hot side, inside humidity, pressure, wind.
class SecondaryReadings : public QWidget {
  Q_OBJECT

 public:
  explicit SecondaryReadings(QWidget* parent = nullptr);

  // Which of the hot-side and inside-humidity readings the model has.
  void ShowFeatures(bool hotSide, bool insideRH);
  // A poll's readings; pressure and wind only for weather models.
  void ShowReadings(const ReadingsTexts& texts, bool hotSide, bool insideRH, bool weather);
  void ResetReadings(const ReadingsTexts& placeholders);

 private:
  QLabel* LabelTempHotSide;
  QLabel* LabelRH_Inside;
  QLabel* LabelPressure;
  QLabel* LabelWind;
};

}  // namespace vesk
