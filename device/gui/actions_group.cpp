#include "device/gui/actions_group.h"

#include <QCheckBox>
#include <QGridLayout>

#include <chrono>
#include <thread>

#include "station/station.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/named_control.h"

namespace vesk {
namespace {

// Raises the flag for its lifetime and puts back what it was, however the scope ends.
class Raised {
 public:
  explicit Raised(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~Raised() { flag_ = before_; }
  Raised(const Raised&) = delete;
  Raised& operator=(const Raised&) = delete;

 private:
  bool& flag_;
  bool before_;
};

// Between the forced order and the poll that shows it.
constexpr std::chrono::milliseconds kHeaterSettles{250};

}  // namespace

ActionsGroup::ActionsGroup(Station& station, QWidget* parent)
    : QGroupBox(QStringLiteral("Actions"), parent), station_(station) {
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
  connect(CheckBoxAutoHeat, &QCheckBox::clicked, this,
          [this] { Guarded(this, [this] { CheckBoxAutoHeatClick(); }); });
  connect(CheckBoxForceheat, &QCheckBox::clicked, this,
          [this] { Guarded(this, [this] { CheckBoxForceheatClick(); }); });
}

void ActionsGroup::SyncHeatingControls(bool autoHeat, bool heaterOn) {
  const Raised raised(isUpdatingControls);
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

void ActionsGroup::CheckBoxAutoHeatClick() {
  if (isUpdatingControls) {
    return;
  }
  const Raised raised(isUpdatingControls);
  const bool on = CheckBoxAutoHeat->isChecked();
  CheckBoxForceheat->setEnabled(!on);
  station_.SetAutoHeating(on);
  Q_EMIT pollRequested();
}

void ActionsGroup::CheckBoxForceheatClick() {
  if (isUpdatingControls) {
    return;
  }
  const Raised raised(isUpdatingControls);
  const bool on = CheckBoxForceheat->isChecked();
  CheckBoxAutoHeat->setEnabled(!on);
  station_.EnableHeater(on ? 1 : 0);
  std::this_thread::sleep_for(kHeaterSettles);
  Q_EMIT pollRequested();
}

bool ActionsGroup::FastSpeed() const {
  return CheckBoxFastSpeed->isChecked();
}

void ActionsGroup::SetFastSpeed(bool fast) {
  CheckBoxFastSpeed->setChecked(fast);
}

bool ActionsGroup::FailureSound() const {
  return CheckBoxFailureSound->isChecked();
}

}  // namespace vesk
