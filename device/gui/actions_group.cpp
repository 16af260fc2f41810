#include "device/gui/actions_group.h"

#include <QCheckBox>
#include <QGridLayout>

#include "widgets/gui/named_control.h"

namespace vesk {

ActionsGroup::ActionsGroup(QWidget* parent) : QGroupBox(QStringLiteral("Actions"), parent) {
  setObjectName(QStringLiteral("GroupBoxActions"));
  CheckBoxAutoHeat = Named<QCheckBox>("CheckBoxAutoHeat", QStringLiteral("Auto dome heating"));
  CheckBoxForceheat = Named<QCheckBox>("CheckBoxForceheat", QStringLiteral("Force dome heating"));
  CheckBoxFastSpeed = Named<QCheckBox>("CheckBoxFastSpeed",
                                       QStringLiteral("Pool system each second instead of 30s"));
  CheckBoxFailureSound =
      Named<QCheckBox>("CheckBoxFailureSound", QStringLiteral("Play sound if COM failed"));

  // The heating switches in the first column, the program's own options in the second.
  auto* grid = new QGridLayout(this);
  grid->addWidget(CheckBoxAutoHeat, 0, 0);
  grid->addWidget(CheckBoxForceheat, 1, 0);
  grid->setColumnMinimumWidth(1, 12);
  grid->addWidget(CheckBoxFastSpeed, 0, 2);
  grid->addWidget(CheckBoxFailureSound, 1, 2);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(2, 1);

  connect(CheckBoxFastSpeed, &QCheckBox::clicked, this, &ActionsGroup::fastSpeedClicked);
}

void ActionsGroup::SyncHeatingControls(bool autoHeat, bool heaterOn) {
  struct Raised {
    bool& flag;
    ~Raised() { flag = false; }
  } raised{isUpdatingControls = true};
  if (autoHeat) {
    CheckBoxAutoHeat->setChecked(true);
    CheckBoxAutoHeat->setEnabled(true);
    CheckBoxForceheat->setEnabled(false);
    CheckBoxForceheat->setChecked(false);
  } else {
    CheckBoxAutoHeat->setChecked(false);
    CheckBoxForceheat->setEnabled(true);
    CheckBoxForceheat->setChecked(heaterOn);
  }
}

bool ActionsGroup::FastSpeed() const {
  return CheckBoxFastSpeed->isChecked();
}

bool ActionsGroup::FailureSound() const {
  return CheckBoxFailureSound->isChecked();
}

}  // namespace vesk
