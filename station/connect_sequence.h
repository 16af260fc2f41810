#pragma once

#include <functional>

#include "link/device_identity.h"

namespace vesk {

class Station;

// The connection without a window (vesk-cli serve), with the monitor's log lines in the
// monitor's order. Each raises the first failure; the caller logs it as
// "Issue with data link (FATAL ERROR) : " + its message.

// The operator's connection: counters zeroed, the port opened, then CompleteConnection. A
// failure closes the port again.
void ConnectStation(Station& station, int comNum);

// Everything after the version exchange: "Startup -> ", the model type ("Firmware > 2.0",
// "Camera Type : ", the serial number from firmware 3 on, "Setup Done"), then identified,
// the heating setup and one waiting poll (a failure of either becomes "Error : voltage read
// error on startup -> " + its message), and the station connected.
void CompleteConnection(Station& station, DeviceIdentity identity,
                        const std::function<void()>& identified = {});

}  // namespace vesk
