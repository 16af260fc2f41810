// A lost link, looked for again without the operator.
#include <QTimer>

#include <exception>
#include <optional>

#include "app/main_window.h"
#include "link/device_identity.h"
#include "station/reconnection.h"

namespace vesk {

void TMAINForm::LinkLost() {
  // The port is closed: no poll until the board answers again.
  TimerGetPeriodicData->stop();
  TimerReconnect->start();
}

void TMAINForm::TimerReconnectTimer() {
  // Short: the port opened and the version exchanged, or the port's own time-out.
  const std::optional<DeviceIdentity> version = reconnection_->Attempt();
  if (!version) {
    return;
  }
  TimerReconnect->stop();
  try {
    ConnectionSteps(*version, true);
  } catch (const std::exception& e) {
    reconnection_->RestoreFailed(e.what());
    TimerReconnect->start();
  }
}

}  // namespace vesk
