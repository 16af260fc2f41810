#include "cli/port_probe.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <thread>

#include "device/identity_orders.h"
#include "link/com_obj_rs232.h"
#include "link/link_timing.h"
#include "link/order_codes.h"
#include "link/serial_port.h"

namespace vesk::cli {
namespace fs = std::filesystem;
namespace {

std::string Canonical(const std::string& device) {
  std::error_code error;
  const fs::path canonical = fs::canonical(device, error);
  return error ? device : canonical.string();
}

// "COM3" -> 3; 0 for any other name.
int ComNumber(const std::string& name) {
  if (name.size() < 4 || name.size() > 6 || name.compare(0, 3, "COM") != 0 ||
      name.find_first_not_of("0123456789", 3) != std::string::npos) {
    return 0;
  }
  const int number = std::stoi(name.substr(3));
  return number >= 1 && number <= 255 ? number : 0;
}

PortProbe Probe(const ListedPort& port, const fs::path& folder) {
  PortProbe probe;
  const std::string& device = port.info.device;
  probe.holders = ProcessesHolding(device);
  if (!probe.holders.empty()) {
    probe.result = PortProbe::Result::Held;
    return probe;
  }
  PortOpening opening = OpenSerialDevice(device);
  if (!opening.port) {
    probe.message = PortOpenFailureText(device, opening);
    return probe;
  }
  TComObjRs232 link(folder);
  link.AttachPort(std::move(opening.port));
  try {
    // The board needs the pause after its port opens, as at a connection.
    std::this_thread::sleep_for(CurrentLinkTiming().settlePause);
    TArrayByte reply;
    link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, reply);
    probe.identity = IdentifyDevice(reply);
    if (probe.identity.GroupBoxV3) {
      probe.serialNumber = ReadSerialNumber(link);
    }
    probe.result = PortProbe::Result::Board;
  } catch (const std::exception& e) {
    probe.result = PortProbe::Result::NoAnswer;
    probe.message = e.what();
  }
  link.CloseCom();
  return probe;
}

}  // namespace

std::vector<ListedPort> PortsToList(const fs::path& folder,
                                    const std::vector<std::string>& devices) {
  std::vector<ListedPort> ports;
  const auto system = ListSerialPorts();
  const auto find = [&ports](const std::string& canonical) {
    return std::find_if(ports.begin(), ports.end(), [&canonical](const ListedPort& port) {
      return Canonical(port.info.device) == canonical;
    });
  };
  if (!devices.empty()) {
    for (const auto& device : devices) {
      ListedPort port;
      port.info.device = device;
      const auto known = std::find_if(system.begin(), system.end(), [&device](const auto& info) {
        return Canonical(info.device) == Canonical(device);
      });
      if (known != system.end()) {
        port.info = *known;
        port.info.device = device;
      }
      ports.push_back(std::move(port));
    }
    return ports;
  }
  for (const auto& info : system) {
    ports.push_back({info, 0});
  }
  std::vector<std::pair<int, std::string>> aliases;
  std::error_code error;
  for (fs::directory_iterator it(folder / "ports", error), end; !error && it != end;
       it.increment(error)) {
    if (const int number = ComNumber(it->path().filename().string())) {
      aliases.emplace_back(number, it->path().string());
    }
  }
  std::sort(aliases.begin(), aliases.end());
  for (const auto& [number, alias] : aliases) {
    std::error_code broken;
    const fs::path target = fs::canonical(alias, broken);
    if (broken) {
      continue;  // a link left by a simulated board that has ended
    }
    const auto listed = find(target.string());
    if (listed != ports.end()) {
      if (listed->comNumber == 0) {
        listed->comNumber = number;
      }
    } else {
      ListedPort port;
      port.info.device = target.string();
      port.comNumber = number;
      ports.push_back(std::move(port));
    }
  }
  return ports;
}

std::vector<PortProbe> ProbePorts(const std::vector<ListedPort>& ports, const fs::path& folder) {
  std::vector<PortProbe> probes(ports.size());
  std::vector<std::thread> workers;
  for (std::size_t i = 0; i < ports.size(); ++i) {
    workers.emplace_back([&, i] { probes[i] = Probe(ports[i], folder); });
  }
  for (auto& worker : workers) {
    worker.join();
  }
  return probes;
}

}  // namespace vesk::cli
