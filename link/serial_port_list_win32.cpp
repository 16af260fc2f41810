// Built on Windows only (and compile-checked here with mingw-w64).
#include <windows.h>

#include <algorithm>

#include "link/serial_port_list.h"

namespace vesk {

// The system keeps one value per present COM port: the driver's device name, and the COM name.
std::vector<SerialPortInfo> ListSerialPorts(const SerialPortRoots&) {
  std::vector<SerialPortInfo> ports;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return ports;
  }
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD nameLength = sizeof name;
    BYTE data[256];
    DWORD dataLength = sizeof data - 1;
    DWORD type = 0;
    const LONG result =
        RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength);
    if (result == ERROR_NO_MORE_ITEMS) {
      break;
    }
    if (result != ERROR_SUCCESS || type != REG_SZ) {
      continue;
    }
    data[dataLength] = 0;
    SerialPortInfo port;
    port.device = reinterpret_cast<const char*>(data);
    port.driver = std::string(name, nameLength);
    ports.push_back(std::move(port));
  }
  RegCloseKey(key);
  // "COM10" after "COM9".
  std::sort(ports.begin(), ports.end(), [](const SerialPortInfo& a, const SerialPortInfo& b) {
    return std::pair(a.device.size(), a.device) < std::pair(b.device.size(), b.device);
  });
  return ports;
}

std::vector<int> ProcessesHolding(const std::string&, const std::filesystem::path&) {
  // Windows opens a COM port for one program only: opening it tells.
  return {};
}

}  // namespace vesk
