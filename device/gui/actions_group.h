#pragma once

#include <QGroupBox>

class QCheckBox;

namespace vesk {

class Station;

// The group "Actions": the two heating switches, the fast poll and the failure sound.
class ActionsGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit ActionsGroup(Station& station, QWidget* parent = nullptr);

  // The heating boxes follow the board; isUpdatingControls is raised meanwhile, so their
  // handlers send nothing.
  void SyncHeatingControls(bool autoHeat, bool heaterOn);
  bool FastSpeed() const;
  bool FailureSound() const;

  // The operator's clicks, the box already switched: each writes to the board and polls. A
  // failure raises, with isUpdatingControls lowered and no poll.
  void CheckBoxAutoHeatClick();
  void CheckBoxForceheatClick();

 Q_SIGNALS:
  void fastSpeedClicked();
  // One poll, run and applied before the signal returns.
  void pollRequested();

 private:
  Station& station_;
  bool isUpdatingControls = false;

  QCheckBox* CheckBoxAutoHeat;
  QCheckBox* CheckBoxForceheat;
  QCheckBox* CheckBoxFastSpeed;
  QCheckBox* CheckBoxFailureSound;
};

}  // namespace vesk
