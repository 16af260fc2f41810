#pragma once

#include <QGroupBox>

class QCheckBox;

namespace vesk {

// The group "Actions": the two heating switches, the fast poll and the failure sound.
class ActionsGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit ActionsGroup(QWidget* parent = nullptr);

  // The heating boxes follow the board; isUpdatingControls is raised meanwhile, so their
  // handlers send nothing.
  void SyncHeatingControls(bool autoHeat, bool heaterOn);
  bool FastSpeed() const;
  bool FailureSound() const;

 Q_SIGNALS:
  void fastSpeedClicked();

 private:
  bool isUpdatingControls = false;

  QCheckBox* CheckBoxAutoHeat;
  QCheckBox* CheckBoxForceheat;
  QCheckBox* CheckBoxFastSpeed;
  QCheckBox* CheckBoxFailureSound;
};

}  // namespace vesk
