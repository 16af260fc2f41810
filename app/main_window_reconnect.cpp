// A lost link, looked for again without the operator.
#include <QTimer>

#include "app/main_window.h"
#include "station/station_session.h"

namespace vesk {

void TMAINForm::LinkLost() {
  // The port is closed: no poll until the board answers again.
  TimerGetPeriodicData->stop();
  TimerReconnect->start();
}

void TMAINForm::TimerReconnectTimer() {
  // The attempt runs on a thread of its own; its end comes back as Connected or as the next
  // tick.
  session_->ReconnectTick();
}

}  // namespace vesk
