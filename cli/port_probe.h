#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "link/device_identity.h"
#include "link/serial_port_list.h"

namespace vesk::cli {

// A port to list: the system's, a ports/COM<n> alias of the program folder, or one named
// with --device.
struct ListedPort {
  SerialPortInfo info;
  int comNumber = 0;  // the n of a ports/COM<n> alias leading to it; 0 for none
};

// What the version order found on a port.
struct PortProbe {
  enum class Result { Board, NoAnswer, Held, NotOpened };
  Result result = Result::NotOpened;
  DeviceIdentity identity;
  std::optional<std::string> serialNumber;  // read on firmware 3 and later
  std::vector<int> holders;                 // Held: the processes holding the port
  std::string message;                      // NoAnswer, NotOpened: the link's error
};

// The machine's ports and the aliases of folder/ports/ (an alias to a listed port marks that
// port; one to anything else is a port of its own), or only the devices given.
std::vector<ListedPort> PortsToList(const std::filesystem::path& folder,
                                    const std::vector<std::string>& devices);

// Sends the version order to every port at once (a silent port takes the link's 2 s) and reads
// the serial number of a board that has one. A port another process holds is left alone.
std::vector<PortProbe> ProbePorts(const std::vector<ListedPort>& ports,
                                  const std::filesystem::path& folder);

}  // namespace vesk::cli
