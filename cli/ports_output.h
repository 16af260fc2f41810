#pragma once

#include <string>

#include "cli/port_probe.h"

namespace vesk::cli {

// One port: its device and what the system tells of it, then (when probed) what answered.
// The text is a block of lines; the JSON one object on one line. Both end with a newline.
std::string PortText(const ListedPort& port, const PortProbe* probe);
std::string PortJson(const ListedPort& port, const PortProbe* probe);

}  // namespace vesk::cli
