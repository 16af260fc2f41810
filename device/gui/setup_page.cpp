#include "device/gui/setup_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "device/gui/actions_group.h"
#include "device/gui/heating_group.h"
#include "device/gui/humidity_setup_group.h"
#include "device/gui/identity_group.h"
#include "widgets/gui/named_control.h"

namespace vesk {

SetupPage::SetupPage(Station& station, QWidget* logView, QWidget* parent)
    : QWidget(parent), RichEdit(logView) {
  setObjectName(QStringLiteral("TabSheetConfig"));
  LabelLog = Named<QLabel>("LabelLog", QStringLiteral("Log"));
  LabelLog->setBuddy(logView);
  heating = new HeatingThresholdsGroup(station);
  actions = new ActionsGroup(station);
  humiditySetup = new HumiditySetupGroup(station);
  GroupBoxV3 = new IdentityGroup(station);

  // The log takes the room left by the groups: it is read more than the groups are used.
  auto* log = new QVBoxLayout;
  log->setSpacing(2);
  log->addWidget(LabelLog);
  log->addWidget(logView, 1);

  auto* options = new QVBoxLayout;
  options->addWidget(actions);
  options->addWidget(humiditySetup);

  auto* top = new QHBoxLayout;
  top->addLayout(log, 1);
  top->addLayout(options);

  auto* board = new QHBoxLayout;
  board->addWidget(heating);
  board->addWidget(GroupBoxV3, 1);

  layout_ = new QVBoxLayout(this);
  layout_->addLayout(top, 1);
  layout_->addLayout(board);
}

void SetupPage::PlaceObservatory(QWidget* group) {
  layout_->insertWidget(1, group);
}

QString SetupPage::caption() {
  return QStringLiteral("Setup/config.");
}

}  // namespace vesk
