#pragma once

#include <QGroupBox>

#include "settings/settings_file.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace vesk {

class TNumberEdit;

// The group "Plots" of the setup panel: the time-window lock and buttons, the forced value
// scales of the temperature and humidity charts and their "Save plots" buttons.
class PlotOptionsGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit PlotOptionsGroup(QWidget* parent = nullptr);

  // Puts the secondary readings at the top of the group.
  void PlaceReadings(QWidget* readings);
  // The time window follows each poll.
  bool LockTranslate() const;
  // The forced value scales: the box, the bounds with one decimal, and the bound fields shown
  // only while the scale is forced.
  void ShowTempScale(const TYScaleSetting& scale);
  void ShowRHScale(const TYScaleSetting& scale);
  bool ForceY() const;
  bool RHYScale() const;

 private:
  // Empty place at the top of the group, for the secondary readings.
  QWidget* readingsArea;

  QCheckBox* CheckBoxLock_translate;
  QPushButton* BitBtnZoomM;
  QPushButton* BitBtn1h;
  QPushButton* BitBtn6h;
  QPushButton* BitBtn_last12h;
  QPushButton* BitBtn24h;
  QPushButton* BitBtn3J;
  QPushButton* BitBtn1s;
  QPushButton* BitBtn1mois;
  QPushButton* BitBtn6mois;

  QGroupBox* GroupBoxTempScale;  // "Temperature plot settings"
  QCheckBox* CheckBoxForceY;
  QLabel* Label1;  // "Y Min (°C)"
  TNumberEdit* EditMinY_V;
  QLabel* Label2;  // "Y Max (°C)"
  TNumberEdit* EditMaxY_V;
  QPushButton* ButtonApplyYTemp;
  QPushButton* ButtonGraphSAV;

  QGroupBox* GroupBoxRHScale;  // "Relative humidity settings"
  QCheckBox* CheckBoxRHYScale;
  QLabel* Label13;  // "Y Min (%RH)"
  TNumberEdit* NumberEditAmpsMin;
  QLabel* Label14;  // "Y Max  (%RH)"
  TNumberEdit* NumberEditAmpsMax;
  QPushButton* ButtonApplyRHYscale;
  QPushButton* ButtonSavgraphAmps;
};

}  // namespace vesk
