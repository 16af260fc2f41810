#pragma once

#include <QGroupBox>

class QCheckBox;

namespace vesk {

// The group "Actions": the two heating switches, the fast poll and the failure sound.
class ActionsGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit ActionsGroup(QWidget* parent = nullptr);

  QCheckBox* CheckBoxAutoHeat;
  QCheckBox* CheckBoxForceheat;
  QCheckBox* CheckBoxFastSpeed;
  QCheckBox* CheckBoxFailureSound;
};

}  // namespace vesk
