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

  QLabel* LabelTempHotSide;
  QLabel* LabelRH_Inside;
  QLabel* LabelPressure;
  QLabel* LabelWind;
};

}  // namespace vesk
