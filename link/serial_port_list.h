#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vesk {

// One serial port of the machine, as the system knows it.
struct SerialPortInfo {
  std::string device;             // "/dev/ttyUSB0", "COM4"
  std::vector<std::string> byId;  // its stable names, "/dev/serial/by-id/usb-..."
  // The USB device behind it, where there is one: ids as four hex digits, texts as it tells them.
  std::string usbVendorId;
  std::string usbProductId;
  std::string manufacturer;
  std::string product;
  std::string usbSerial;
  // Windows: the driver's name of the port ("\Device\Serial0", "\Device\VCP0").
  std::string driver;
};

// Where the listing looks, moved by the tests to a tree of their own.
struct SerialPortRoots {
  std::filesystem::path sysClassTty = "/sys/class/tty";
  std::filesystem::path dev = "/dev";
};

// The serial ports of the machine, sorted by device name. Linux: /dev/ttyS* that exist as
// UARTs, /dev/ttyAMA* (the Raspberry Pi's), /dev/ttyUSB* and /dev/ttyACM*, with their
// /dev/serial/by-id names and USB ids and texts. Windows: the COM ports of the system.
std::vector<SerialPortInfo> ListSerialPorts(const SerialPortRoots& roots = {});

// The processes other than this one that hold device open (Linux; none elsewhere). The
// process at the other end of a pseudo-terminal (a simulated board holds both ends) is not
// counted: it waits for an opener.
std::vector<int> ProcessesHolding(const std::string& device,
                                  const std::filesystem::path& proc = "/proc");

}  // namespace vesk
