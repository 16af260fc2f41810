#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string_view>

#include "link/serial_port_list.h"

namespace vesk {
namespace fs = std::filesystem;
namespace {

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// Every entry of a folder; a folder that cannot be read, or that changes under the walk
// (a process ending in /proc), simply ends it.
template <typename Visit>
void ForEachEntry(const fs::path& folder, Visit visit) {
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (!visit(it->path())) {
      return;
    }
  }
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// A ttyS the kernel made for a UART that is not there has type 0 (no UART).
bool IsPort(const std::string& name, const fs::path& sysEntry) {
  if (StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM") || StartsWith(name, "ttyAMA")) {
    return true;
  }
  if (StartsWith(name, "ttyS")) {
    const std::string type = FirstLine(sysEntry / "type");
    return !type.empty() && type != "0";
  }
  return false;
}

// The USB device is the first folder above the port's that names a vendor.
void AddUsbDetails(const fs::path& sysEntry, SerialPortInfo& port) {
  std::error_code error;
  fs::path folder = fs::canonical(sysEntry / "device", error);
  for (int up = 0; !error && up < 6 && folder.has_relative_path(); ++up) {
    if (fs::exists(folder / "idVendor", error)) {
      port.usbVendorId = FirstLine(folder / "idVendor");
      port.usbProductId = FirstLine(folder / "idProduct");
      port.manufacturer = FirstLine(folder / "manufacturer");
      port.product = FirstLine(folder / "product");
      port.usbSerial = FirstLine(folder / "serial");
      return;
    }
    folder = folder.parent_path();
  }
}

void AddStableNames(const fs::path& dev, std::vector<SerialPortInfo>& ports) {
  ForEachEntry(dev / "serial" / "by-id", [&ports](const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::canonical(link, error);
    for (auto& port : ports) {
      std::error_code missing;
      if (!error && fs::canonical(port.device, missing) == target) {
        port.byId.push_back(link.string());
      }
    }
    return true;
  });
  for (auto& port : ports) {
    std::sort(port.byId.begin(), port.byId.end());
  }
}

// "ttyS10" after "ttyS9": the number of a name compared as a number.
bool ByName(const SerialPortInfo& a, const SerialPortInfo& b) {
  const auto split = [](const std::string& name) {
    const auto digits = name.find_last_not_of("0123456789") + 1;
    const std::string number = name.substr(digits);
    return std::pair(name.substr(0, digits), number.empty() ? -1 : std::stol(number));
  };
  return split(a.device) < split(b.device);
}

// The pseudo-terminal numbers whose master process holds, read from its descriptors'
// "tty-index" lines.
std::vector<std::string> MastersHeld(const fs::path& process) {
  std::vector<std::string> held;
  ForEachEntry(process / "fdinfo", [&held](const fs::path& fd) {
    std::ifstream in(fd);
    std::string line;
    while (std::getline(in, line)) {
      if (StartsWith(line, "tty-index:")) {
        const auto value = line.find_first_not_of(" \t", 10);
        held.push_back(value == std::string::npos ? "" : line.substr(value));
      }
    }
    return true;
  });
  return held;
}

}  // namespace

std::vector<SerialPortInfo> ListSerialPorts(const SerialPortRoots& roots) {
  std::vector<SerialPortInfo> ports;
  ForEachEntry(roots.sysClassTty, [&](const fs::path& entry) {
    const std::string name = entry.filename().string();
    const fs::path device = roots.dev / name;
    std::error_code error;
    if (IsPort(name, entry) && fs::exists(device, error)) {
      SerialPortInfo port;
      port.device = device.string();
      AddUsbDetails(entry, port);
      ports.push_back(std::move(port));
    }
    return true;
  });
  std::sort(ports.begin(), ports.end(), ByName);
  AddStableNames(roots.dev, ports);
  return ports;
}

std::vector<int> ProcessesHolding(const std::string& device, const fs::path& proc) {
  std::vector<int> holders;
  std::error_code error;
  const fs::path target = fs::canonical(device, error);
  if (error) {
    return holders;
  }
  const std::string pts = "/dev/pts/";
  const bool pseudo = StartsWith(target.string(), pts);
  const std::string ptyIndex = pseudo ? target.string().substr(pts.size()) : "";
  const std::string self = std::to_string(getpid());
  ForEachEntry(proc, [&](const fs::path& process) {
    const std::string pid = process.filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos || pid == self) {
      return true;
    }
    bool holds = false;
    // Another user's descriptors cannot be read: only what this user may see is counted.
    ForEachEntry(process / "fd", [&holds, &target](const fs::path& fd) {
      std::error_code gone;
      holds = fs::read_symlink(fd, gone) == target;
      return !holds;
    });
    if (holds && pseudo) {
      const auto masters = MastersHeld(process);
      holds = std::find(masters.begin(), masters.end(), ptyIndex) == masters.end();
    }
    if (holds) {
      holders.push_back(std::stoi(pid));
    }
    return true;
  });
  std::sort(holders.begin(), holders.end());
  return holders;
}

}  // namespace vesk
