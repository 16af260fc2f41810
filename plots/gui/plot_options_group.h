#pragma once

#include <QGroupBox>

#include "plots/time_window.h"
#include "settings/settings_file.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace vesk {

class ChartSet;
class TNumberEdit;
enum class ChartKind;

// The group "Plots" of the setup panel: the time-window lock and buttons, the zoom-out,
// "Show the whole window", the forced value scales of the temperature and humidity charts
// and their "Save plots" buttons. Its handlers act on the charts it is attached to.
class PlotOptionsGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit PlotOptionsGroup(QWidget* parent = nullptr);

  // The charts the controls act on; before any control is used.
  void Attach(ChartSet& charts) { charts_ = &charts; }
  // Puts the secondary readings at the top of the group.
  void PlaceReadings(QWidget* readings);

  // The time window follows each poll.
  bool LockTranslate() const;
  // The series cover the whole window.
  bool WholeWindow() const;
  void StartWholeWindow(bool on);

  // Start: the stored bounds into the edits ("%1.1f") and onto the chart's value axis,
  // fixed when the box is checked; bounds the axis refuses uncheck it. The bound fields are
  // shown only while the scale is forced.
  void StartScale(TValueAxis axis, const TYScaleSetting& stored);
  // The box and the bounds last applied, as SaveSettings stores them.
  TYScaleSetting Scale(TValueAxis axis) const;

 Q_SIGNALS:
  // RefreshPlots with the model's flags.
  void refreshPlotsRequested();

 private:
  // The controls and bounds of one forced scale.
  struct ForcedScale {
    ChartKind chart;
    QCheckBox* box;
    TNumberEdit* minEdit;
    TNumberEdit* maxEdit;
    QLabel* minLabel;
    QLabel* maxLabel;
    QPushButton* apply;
    double& min;
    double& max;
  };
  ForcedScale Forced(TValueAxis axis);
  static void ShowBoundFields(const ForcedScale& scale);

  // What the window buttons, the two force boxes and the two Apply buttons share.
  void WindowButtonClick(const TWindowButton& button);
  void ForceScaleClick(TValueAxis axis);
  void ApplyScaleClick(TValueAxis axis);
  // The two "Save plots": the chart as a JPEG named name in the images folder, once the
  // public address was looked up off the window's thread.
  void SavePlot(ChartKind kind, const char* name);

 private Q_SLOTS:
  // One handler per control, each calling the shared code above.
  void BitBtn1hClick();
  void BitBtn6hClick();
  void BitBtn_last12hClick();
  void BitBtn24hClick();
  void BitBtn3JClick();
  void BitBtn1sClick();
  void BitBtn1moisClick();
  void BitBtn6moisClick();
  void BitBtnZoomMClick();
  void CheckBoxForceYClick();
  void ButtonApplyYTempClick();
  void CheckBoxRHYScaleClick();
  void ButtonApplyRHYscaleClick();
  void ButtonGraphSAVClick();
  void ButtonSavgraphAmpsClick();
  void CheckBoxWholeWindowClick();

 private:
  ChartSet* charts_ = nullptr;
  double MinYTemp = 11;
  double MaxYTemp = 25;
  double MinYRH = 0;
  double MaxYRH = 100;

  // Empty place at the top of the group, for the secondary readings.
  QWidget* readingsArea;

  QCheckBox* CheckBoxLock_translate;
  QCheckBox* CheckBoxWholeWindow;  // "Show the whole window"
  QPushButton* BitBtnZoomM;

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
